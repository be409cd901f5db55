#include "terminal/BcsTerminal.h"

#include <algorithm>
#include <optional>

#include "terminal/CommandApdu.h"

namespace terminal {

namespace {
constexpr std::uint8_t kClaBcs = 0x20;
constexpr std::uint8_t kInsResetAlternate = 0x10;  // what some hosts send for RESET CT; not in CT-BCS
constexpr std::uint8_t kInsReset = 0x11;
constexpr std::uint8_t kInsRequestIcc = 0x12;
constexpr std::uint8_t kInsGetStatus = 0x13;
constexpr std::uint8_t kInsEjectIcc = 0x15;

constexpr std::uint8_t kUnitIdTerminal = 0x00;
constexpr std::uint8_t kUnitIdSlot = 0x01;

constexpr std::uint8_t kTagTimer = 0x80;
constexpr std::uint8_t kTagDisplayText = 0x50;  // accepted; the terminal has no display
constexpr std::uint8_t kTagIccStatus = 0x80;
constexpr std::uint8_t kTagManufacturer = 0x46;

const Bytes kOk{0x90, 0x00};
const Bytes kOkAsync{0x90, 0x01};
const Bytes kResetFailed{0x64, 0x00};
const Bytes kNoCard{0x64, 0xA1};
const Bytes kTimeout{0x62, 0x00};
const Bytes kAlreadyActive{0x62, 0x01};
const Bytes kWrongLength{0x67, 0x00};
const Bytes kWrongParameters{0x6A, 0x00};
const Bytes kUnknownInstruction{0x6D, 0x00};
const Bytes kUnknownClass{0x6E, 0x00};

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The waiting time of the timer data object; none means no waiting. Nothing when the data is bad.
std::optional<std::chrono::milliseconds> TimerOf(const Bytes& data) {
  std::chrono::milliseconds wait{0};
  for (std::size_t i = 0; i < data.size();) {
    if (i + 2 > data.size() || i + 2 + data[i + 1] > data.size()) return std::nullopt;
    const std::uint8_t tag = data[i], length = data[i + 1];
    if (tag == kTagTimer && length == 1) {
      wait = std::chrono::seconds(data[i + 2]);
    } else if (tag != kTagDisplayText) {
      return std::nullopt;
    }
    i += 2 + length;
  }
  return wait;
}

bool ValidAtrSelector(std::uint8_t p2) { return p2 <= 0x02; }
}  // namespace

void BcsTerminal::SetManufacturer(const std::string& text) {
  manufacturer_.fill(' ');
  std::copy_n(text.begin(), std::min(text.size(), kManufacturerLength), manufacturer_.begin());
}

void BcsTerminal::Reset() {
  if (activated_) slot_.PowerOff();
  activated_ = false;
}

bool BcsTerminal::Activated() {
  if (activated_ && !slot_.CardPowered()) activated_ = false;
  return activated_;
}

IccStatus BcsTerminal::Status() {
  if (Activated()) return IccStatus::Connected;
  return slot_.CardPresent() ? IccStatus::NotConnected : IccStatus::NoCard;
}

TerminalAnswer BcsTerminal::Process(std::uint8_t destination, std::span<const std::uint8_t> command) {
  if (destination == kUnitTerminal) return {kUnitTerminal, Command(command)};
  if (!Activated()) return {kUnitTerminal, kNoCard};
  std::optional<Bytes> answer = slot_.Transmit(Bytes(command.begin(), command.end()));
  if (!answer) {
    activated_ = false;
    return {kUnitTerminal, kNoCard};
  }
  return {kUnitCard, std::move(*answer)};
}

Bytes BcsTerminal::Command(std::span<const std::uint8_t> bytes) {
  const ParsedApdu parsed = ParseCommandApdu(bytes);
  if (!parsed.apdu) return kWrongLength;
  const CommandApdu& c = *parsed.apdu;
  if (c.cla != kClaBcs) return kUnknownClass;
  const std::optional<std::chrono::milliseconds> wait = TimerOf(c.data);

  switch (c.ins) {
    case kInsResetAlternate:
      if (!c.le || !c.data.empty()) return kUnknownInstruction;
      [[fallthrough]];
    case kInsReset:
      if (!c.data.empty()) return kWrongLength;
      if (!ValidAtrSelector(c.p2)) return kWrongParameters;
      if (c.p1 == kUnitIdTerminal) {
        Reset();
        return kOk;
      }
      if (c.p1 == kUnitIdSlot) return ResetIcc(c.p2);
      return kWrongParameters;
    case kInsRequestIcc:
      if (c.p1 != kUnitIdSlot || !ValidAtrSelector(c.p2) || !wait) return kWrongParameters;
      return RequestIcc(c.p2, *wait);
    case kInsGetStatus:
      if (!c.data.empty()) return kWrongLength;
      if (c.p1 != kUnitIdTerminal) return kWrongParameters;
      return GetStatus(c.p2);
    case kInsEjectIcc:
      if (c.p1 != kUnitIdSlot || c.p2 > 0x07 || !wait) return kWrongParameters;
      return EjectIcc(*wait);
    default:
      return kUnknownInstruction;
  }
}

Bytes BcsTerminal::PowerOnAnswer(std::uint8_t p2) {
  std::optional<AnswerToReset> reset = slot_.PowerOn();
  if (!reset) {
    activated_ = false;
    return kResetFailed;
  }
  activated_ = true;
  const Bytes& status = reset->synchronous ? kOk : kOkAsync;
  if (p2 == 0x01) return Concat(reset->atr, status);
  if (p2 == 0x02) return Concat(reset->historicalBytes, status);
  return status;
}

Bytes BcsTerminal::ResetIcc(std::uint8_t p2) {
  if (!slot_.CardPresent()) return kNoCard;
  if (activated_) slot_.PowerOff();
  return PowerOnAnswer(p2);
}

Bytes BcsTerminal::RequestIcc(std::uint8_t p2, std::chrono::milliseconds wait) {
  if (Activated()) return kAlreadyActive;
  if (!slot_.CardPresent() && (wait.count() == 0 || !slot_.WaitForInsertion(wait))) return kTimeout;
  return PowerOnAnswer(p2);
}

Bytes BcsTerminal::EjectIcc(std::chrono::milliseconds wait) {
  if (!slot_.CardPresent()) return kOk;
  Reset();
  slot_.Eject();
  if (wait.count() == 0) return kOk;
  return slot_.WaitForRemoval(wait) ? kOkAsync : kTimeout;
}

Bytes BcsTerminal::GetStatus(std::uint8_t p2) {
  if (p2 == kTagIccStatus) {
    const auto status = static_cast<std::uint8_t>(Status());
    if (statusObjects_) return Concat({kTagIccStatus, 0x01, status}, kOk);
    return Concat({status}, kOk);
  }
  if (p2 == kTagManufacturer) {
    Bytes data(manufacturer_.begin(), manufacturer_.end());
    if (statusObjects_) data.insert(data.begin(), {kTagManufacturer, kManufacturerLength});
    return Concat(std::move(data), kOk);
  }
  return kWrongParameters;
}

}  // namespace terminal
