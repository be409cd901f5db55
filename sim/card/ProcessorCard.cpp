#include "sim/card/ProcessorCard.h"

#include <string_view>

#include "sim/card/BinaryFile.h"

namespace sim {

namespace {
constexpr std::uint8_t kInsSelect = 0xA4;
constexpr std::uint8_t kInsReadBinary = 0xB0;
constexpr std::uint8_t kInsUpdateBinary = 0xD6;
constexpr std::uint8_t kInsGetChallenge = 0x84;
constexpr std::uint8_t kInsVerify = 0x20;
constexpr std::uint8_t kPinReference = 0x01;
constexpr std::string_view kPin = "1234";
constexpr std::size_t kChallengeMax = 32;
constexpr std::size_t kChallengeDefault = 8;

// T=0, no interface bytes in use, eight historical bytes; neither 90 00 nor 90 01 appears in it.
const Bytes kAtr{0x3B, 0x68, 0x00, 0x00, 0x80, 0x4B, 0x4C, 0x56, 0x53, 0x49, 0x4D, 0x01};
constexpr std::size_t kHistoricalOffset = 4;

Bytes WithStatus(Bytes data, const Bytes& status) {
  data.insert(data.end(), status.begin(), status.end());
  return data;
}
}  // namespace

ProcessorCard::ProcessorCard() : ef_(kEfSize, 0x00), random_(std::random_device{}()) {
  constexpr std::string_view kContents = "KELVANOR TEST CARD";
  std::copy(kContents.begin(), kContents.end(), ef_.begin());
}

terminal::AnswerToReset ProcessorCard::PowerOn() {
  PowerOff();
  return {kAtr, Bytes(kAtr.begin() + kHistoricalOffset, kAtr.end()), false};
}

void ProcessorCard::PowerOff() {
  currentEf_.reset();
  pinVerified_ = false;
}

Bytes ProcessorCard::Process(const Bytes& bytes) {
  const terminal::ParsedApdu parsed = terminal::ParseCommandApdu(bytes);
  if (!parsed.apdu) return sw::kWrongLength;
  const terminal::CommandApdu& apdu = *parsed.apdu;
  if (apdu.cla != 0x00) return sw::kUnknownClass;
  switch (apdu.ins) {
    case kInsSelect:
      return Select(apdu);
    case kInsReadBinary:
      if (!currentEf_) return sw::kNoCurrentEf;
      return ReadBinary(ef_, apdu);
    case kInsUpdateBinary:
      if (!currentEf_) return sw::kNoCurrentEf;
      if (!pinVerified_) return sw::kSecurityNotSatisfied;
      return UpdateBinary(ef_, apdu);
    case kInsGetChallenge:
      return GetChallenge(apdu);
    case kInsVerify:
      return Verify(apdu);
    default:
      return sw::kUnknownInstruction;
  }
}

Bytes ProcessorCard::Select(const terminal::CommandApdu& apdu) {
  if (apdu.p1 != 0x00) return sw::kWrongP1P2;
  if (apdu.data.empty()) {
    currentEf_.reset();
    return sw::kOk;
  }
  if (apdu.data.size() != 2) return sw::kWrongLength;
  const auto fid = static_cast<std::uint16_t>((apdu.data[0] << 8) | apdu.data[1]);
  if (fid == kMf) {
    currentEf_.reset();
    return sw::kOk;
  }
  if (fid != kEf) return sw::kFileNotFound;
  currentEf_ = fid;
  return sw::kOk;
}

Bytes ProcessorCard::GetChallenge(const terminal::CommandApdu& apdu) {
  if (apdu.p1 || apdu.p2) return sw::kWrongP1P2;
  if (!apdu.le || !apdu.data.empty()) return sw::kWrongLength;
  const std::size_t n = *apdu.le == 256 ? kChallengeDefault : *apdu.le;
  if (n > kChallengeMax) return sw::kWrongLength;
  Bytes challenge(n);
  for (auto& b : challenge) b = static_cast<std::uint8_t>(random_());
  return WithStatus(std::move(challenge), sw::kOk);
}

Bytes ProcessorCard::Verify(const terminal::CommandApdu& apdu) {
  if (apdu.p1 != 0x00) return sw::kWrongP1P2;
  if (apdu.p2 != kPinReference) return sw::kReferenceNotFound;
  if (triesLeft_ == 0) return sw::kPinBlocked;
  const auto triesStatus = [this] { return Bytes{0x63, static_cast<std::uint8_t>(0xC0 | triesLeft_)}; };
  if (apdu.data.empty()) return pinVerified_ ? sw::kOk : triesStatus();
  if (std::string_view(reinterpret_cast<const char*>(apdu.data.data()), apdu.data.size()) == kPin) {
    triesLeft_ = kPinTries;
    pinVerified_ = true;
    return sw::kOk;
  }
  --triesLeft_;
  pinVerified_ = false;
  return triesStatus();
}

}  // namespace sim
