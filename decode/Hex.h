#pragma once
// Bytes as upper-case hex text and back.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace decode {

std::string HexByte(std::uint8_t byte);  // "6A"
// "80 73 FF" with the default separator.
std::string HexBytes(std::span<const std::uint8_t> bytes, std::string_view separator = " ");

// 16 bytes a line: offset, hex and the printable ASCII characters ('.' for others).
std::vector<std::string> HexDumpLines(std::span<const std::uint8_t> bytes);

enum class HexError { None, Empty, OddDigits, NotHex };

struct ParsedHex {
  std::vector<std::uint8_t> bytes;
  HexError error = HexError::None;
};

// Pairs of hex digits in either case; blanks, tabs and colons may stand anywhere between them.
ParsedHex ParseHex(std::string_view text);

std::string_view HexErrorText(HexError error);

}  // namespace decode
