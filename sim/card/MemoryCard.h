#pragma once
// A synchronous memory card as an MKT card terminal presents it: SELECT FILE 3F00 takes the whole
// memory, SELECT FILE by AID an application's area from the card's directory, and READ BINARY and
// UPDATE BINARY work at offsets inside what is selected. Without a spec it is the built-in card of
// 256 bytes with no directory.

#include <optional>
#include <span>

#include "sim/card/CardSpec.h"
#include "sim/card/SimCard.h"
#include "terminal/CommandApdu.h"

namespace sim {

class MemoryCard : public SimCard {
 public:
  MemoryCard() : MemoryCard(BuiltInMemorySpec()) {}
  explicit MemoryCard(MemorySpec spec) : spec_(std::move(spec)) {}
  terminal::AnswerToReset PowerOn() override;
  void PowerOff() override { area_.reset(); }
  Bytes Process(const Bytes& apdu) override;

 private:
  Bytes Select(const terminal::CommandApdu& apdu);
  std::span<std::uint8_t> Selected();

  MemorySpec spec_;
  std::optional<std::size_t> area_;  // index in spec_.areas; none: the whole memory
};

}  // namespace sim
