#pragma once
// Short command APDUs as ISO 7816-4 cases 1 to 4 lay them out.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace terminal {

struct CommandApdu {
  std::uint8_t cla = 0, ins = 0, p1 = 0, p2 = 0;
  std::vector<std::uint8_t> data;
  std::optional<std::size_t> le;  // 0 in the byte means 256
};

enum class ApduError {
  TooShort,     // fewer than the four header bytes
  WrongLength,  // Lc does not match the bytes that follow
  ExtendedLength,
};

struct ParsedApdu {
  std::optional<CommandApdu> apdu;
  ApduError error = ApduError::TooShort;
};

ParsedApdu ParseCommandApdu(std::span<const std::uint8_t> bytes);

}  // namespace terminal
