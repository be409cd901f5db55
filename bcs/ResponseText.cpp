#include "bcs/ResponseText.h"

#include <algorithm>

namespace {
constexpr char kDigits[] = "0123456789abcdef";
}

std::string ResponseText(std::span<const std::uint8_t> response, HexForm form) {
  const std::size_t width = form == HexForm::Compact ? 2 : 3;
  std::string text;
  for (std::size_t i = 0; i < response.size() && i * width <= kLastWritePosition; ++i) {
    text += kDigits[response[i] >> 4];
    text += kDigits[response[i] & 0x0F];
    if (form == HexForm::Spaced) text += ' ';
  }
  return text;
}

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return text;
}

std::string CommandNotation(std::span<const std::uint8_t> command) {
  return "2,1    " + ResponseText(command, HexForm::Compact);
}
