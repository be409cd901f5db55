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
constexpr std::uint8_t kTagIccStatus = 0x80;
constexpr std::uint8_t kTagManufacturer = 0x46;
constexpr std::uint8_t kTagFunctionalUnits = 0x81;
constexpr std::uint8_t kFunctionalUnitSlot = 0x01;  // the only one: no display, no keypad

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

// The waiting time of REQUEST ICC and EJECT ICC, or the status word that refuses the data field.
struct WaitingTime {
  std::chrono::seconds time{0};
  const Bytes* refusal = nullptr;
};

// The timer data object among others, whose unknown tags are skipped, or the older plain form of
// one byte. No timer means no waiting.
WaitingTime WaitingTimeOf(const Bytes& data) {
  if (data.size() == 1) return {std::chrono::seconds(data[0])};
  WaitingTime wait;
  bool badTimer = false;
  for (std::size_t i = 0; i < data.size();) {
    const std::size_t left = data.size() - i;
    if (left < 2 || data[i + 1] > left - 2) return {{}, &kWrongLength};
    const std::uint8_t tag = data[i], length = data[i + 1];
    if (tag == kTagTimer && length != 1) {
      badTimer = true;
    } else if (tag == kTagTimer) {
      wait.time = std::chrono::seconds(data[i + 2]);
    }
    i += 2 + length;
  }
  if (badTimer) wait.refusal = &kWrongParameters;
  return wait;
}

// P2 of RESET CT, and the low nibble of P2 of RESET ICC and REQUEST ICC: 00 no data, 01 the ATR,
// 02 the historical bytes. The high nibble only picks a display message or keypad behaviour on
// terminals that have them.
constexpr std::uint8_t kAtrSelectorMask = 0x0F;
bool ValidAtrSelector(std::uint8_t selector) { return selector <= 0x02; }
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
  const std::uint8_t atrSelector = c.p2 & kAtrSelectorMask;

  switch (c.ins) {
    case kInsResetAlternate:
      if (!c.le || !c.data.empty()) return kUnknownInstruction;
      [[fallthrough]];
    case kInsReset:
      if (!c.data.empty()) return kWrongLength;
      if (c.p1 == kUnitIdTerminal) {
        if (!ValidAtrSelector(c.p2)) return kWrongParameters;
        Reset();
        return kOk;
      }
      if (c.p1 == kUnitIdSlot && ValidAtrSelector(atrSelector)) return ResetIcc(atrSelector);
      return kWrongParameters;
    case kInsRequestIcc: {
      if (c.p1 != kUnitIdSlot || !ValidAtrSelector(atrSelector)) return kWrongParameters;
      const WaitingTime wait = WaitingTimeOf(c.data);
      if (wait.refusal) return *wait.refusal;
      return RequestIcc(atrSelector, wait.time);
    }
    case kInsGetStatus:
      if (!c.data.empty()) return kWrongLength;
      if (c.p1 != kUnitIdTerminal) return kWrongParameters;
      return GetStatus(c.p2);
    case kInsEjectIcc: {
      if (c.p1 != kUnitIdSlot || c.p2 > 0x07) return kWrongParameters;
      const WaitingTime wait = WaitingTimeOf(c.data);
      if (wait.refusal) return *wait.refusal;
      return EjectIcc(wait.time);
    }
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
  // A data object whatever SetStatusObjects says: it has no raw form.
  if (p2 == kTagFunctionalUnits) return Concat({kTagFunctionalUnits, 0x01, kFunctionalUnitSlot}, kOk);
  if (p2 == kTagManufacturer) {
    Bytes data(manufacturer_.begin(), manufacturer_.end());
    if (statusObjects_) data.insert(data.begin(), {kTagManufacturer, kManufacturerLength});
    return Concat(std::move(data), kOk);
  }
  return kWrongParameters;
}

}  // namespace terminal
