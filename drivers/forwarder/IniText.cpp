#include "drivers/forwarder/IniText.h"

#include <algorithm>
#include <cctype>

namespace forwarder {

namespace {
std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}
}  // namespace

std::optional<std::string> IniValue(std::string_view text, std::string_view section, std::string_view key) {
  // Editors that save as UTF-8 put a byte order mark before the first section.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  bool inSection = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      inSection = close != std::string_view::npos && SameName(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos || !SameName(Trim(line.substr(0, equals)), key))
      continue;
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return std::nullopt;
}

}  // namespace forwarder
