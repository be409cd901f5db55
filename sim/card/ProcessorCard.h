#pragma once
// An asynchronous processor card with a small ISO 7816-4 file system: the MF 3F00 and a
// transparent EF 2F01 of 32 bytes that anyone may read and that PIN 01 guards against writing.

#include <optional>
#include <random>

#include "sim/card/SimCard.h"
#include "terminal/CommandApdu.h"

namespace sim {

class ProcessorCard : public SimCard {
 public:
  static constexpr std::uint16_t kMf = 0x3F00;
  static constexpr std::uint16_t kEf = 0x2F01;
  static constexpr std::size_t kEfSize = 32;
  static constexpr int kPinTries = 3;

  ProcessorCard();
  terminal::AnswerToReset PowerOn() override;
  void PowerOff() override;
  Bytes Process(const Bytes& apdu) override;

 private:
  Bytes Select(const terminal::CommandApdu& apdu);
  Bytes GetChallenge(const terminal::CommandApdu& apdu);
  Bytes Verify(const terminal::CommandApdu& apdu);

  Bytes ef_;
  std::optional<std::uint16_t> currentEf_;
  bool pinVerified_ = false;
  int triesLeft_ = kPinTries;
  std::mt19937 random_;
};

}  // namespace sim
