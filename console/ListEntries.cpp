#include "console/ListEntries.h"

#include <cstdio>

std::string DisplayFormEntry(int index, std::string_view text) {
  char number[16];
  const int n = std::snprintf(number, sizeof number, "%.4d : ", index);
  std::string entry(number, static_cast<std::size_t>(n));
  entry += text;
  return entry;
}

std::string_view ColonCut(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return text;
  return colon + 2 <= text.size() ? text.substr(colon + 2) : std::string_view{};
}

bool AdvanceSelection(std::int16_t& selection, std::int16_t count) {
  if (selection + 1 > count - 1) {
    selection = 0;
    return true;
  }
  ++selection;
  return false;
}
