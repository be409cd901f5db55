#include "console/ListEntry.h"

std::string DisplayEntry(int index, std::string_view text) {
  std::string number = std::to_string(index < 0 ? -index : index);
  if (number.size() < 4) number.insert(0, 4 - number.size(), '0');
  if (index < 0) number.insert(0, 1, '-');
  return number + " : " + std::string(text);
}

std::string ColonCut(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::string(text);
  const std::size_t start = colon + 2;
  return start >= text.size() ? std::string() : std::string(text.substr(start));
}
