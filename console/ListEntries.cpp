#include "console/ListEntries.h"

#include <charconv>

// The number with four digits at least, as printf's "%.4d" writes it; not printf itself, whose
// floating-point machinery would weigh on the program.
std::string DisplayFormEntry(int index, std::string_view text) {
  char digits[16];
  const long long magnitude = index < 0 ? -static_cast<long long>(index) : index;
  const std::size_t n =
      static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
  std::string entry = index < 0 ? "-" : "";
  if (n < 4) entry.append(4 - n, '0');
  entry.append(digits, n);
  entry += " : ";
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
