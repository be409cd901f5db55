#pragma once
// READ BINARY and UPDATE BINARY on the bytes of a transparent file or a memory area, with ISO 7816-4
// status words. The caller has taken the offset from P1-P2.

#include <span>

#include "sim/card/SimCard.h"
#include "terminal/CommandApdu.h"

namespace sim {

// Le 00 reads up to the end (at most 256 bytes); a longer Le gets what is there and 62 82.
Bytes ReadBinary(std::span<const std::uint8_t> file, std::size_t offset, const terminal::CommandApdu& apdu);
Bytes UpdateBinary(std::span<std::uint8_t> file, std::size_t offset, const terminal::CommandApdu& apdu);

// P1-P2 as an offset, when P1's top bit does not announce a short EF identifier.
std::optional<std::size_t> PlainOffset(const terminal::CommandApdu& apdu);

}  // namespace sim
