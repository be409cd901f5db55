#include "app/CtNumberInput.h"

#include <charconv>

std::optional<std::uint16_t> ParseCtNumber(std::string_view fieldText) {
  std::string_view text = fieldText.substr(0, kCtNumberFieldLength);
  while (!text.empty() && (text.front() == ' ' || (text.front() >= '\t' && text.front() <= '\r')))
    text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return std::nullopt;  // no digits, or a '-'
  if (value < 0 || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}
