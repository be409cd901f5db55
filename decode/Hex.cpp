#include "decode/Hex.h"

#include <algorithm>

namespace decode {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Separator(char c) { return c == ' ' || c == '\t' || c == ':'; }

}  // namespace

std::string HexByte(std::uint8_t byte) { return {kDigits[byte >> 4], kDigits[byte & 0x0F]}; }

std::string HexBytes(std::span<const std::uint8_t> bytes, std::string_view separator) {
  std::string text;
  text.reserve(bytes.size() * (2 + separator.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i) text += separator;
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
  }
  return text;
}

std::vector<std::string> HexDumpLines(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kPerLine = 16;
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < bytes.size(); at += kPerLine) {
    const auto part = bytes.subspan(at, std::min(kPerLine, bytes.size() - at));
    std::string line;
    int shift = 12;  // four digits at least, as many as the offset needs
    while (shift + 4 < static_cast<int>(sizeof at * 8) && at >> (shift + 4)) shift += 4;
    for (; shift >= 0; shift -= 4) line += kDigits[at >> shift & 0x0F];
    line += "  " + HexBytes(part);
    line.resize(line.size() + 3 * (kPerLine - part.size()), ' ');
    line += "  ";
    for (const std::uint8_t b : part) line += b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '.';
    lines.push_back(std::move(line));
  }
  return lines;
}

ParsedHex ParseHex(std::string_view text) {
  ParsedHex parsed;
  int high = -1;
  for (const char c : text) {
    if (Separator(c)) continue;
    const int digit = DigitValue(c);
    if (digit < 0) return {{}, HexError::NotHex};
    if (high < 0) {
      high = digit;
    } else {
      parsed.bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
      high = -1;
    }
  }
  if (high >= 0) return {{}, HexError::OddDigits};
  if (parsed.bytes.empty()) return {{}, HexError::Empty};
  return parsed;
}

std::string_view HexErrorText(HexError error) {
  switch (error) {
    case HexError::None:
      return "";
    case HexError::Empty:
      return "no hex digits given";
    case HexError::OddDigits:
      return "odd number of hex digits";
    case HexError::NotHex:
      return "not a hex digit";
  }
  return "";
}

}  // namespace decode
