#pragma once
// A synchronous memory card of 256 bytes, read and written with READ BINARY and UPDATE BINARY.

#include "sim/card/SimCard.h"

namespace sim {

class MemoryCard : public SimCard {
 public:
  static constexpr std::size_t kSize = 256;

  MemoryCard() : memory_(kSize, 0xFF) {}
  terminal::AnswerToReset PowerOn() override;
  void PowerOff() override {}
  Bytes Process(const Bytes& apdu) override;

 private:
  Bytes memory_;
};

}  // namespace sim
