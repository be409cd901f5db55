#pragma once
// Decoded fields as lines for a person: label, value and meaning in aligned columns.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace decode {

struct TextRow {
  std::string label;
  std::string value;
  std::string meaning;
};

// Each column is as wide as its widest cell among the rows that have a cell after it, two blanks
// apart; no line ends in blanks.
std::vector<std::string> AlignedLines(std::span<const TextRow> rows);

// "1 byte", "3 bytes".
std::string Count(std::size_t n, std::string_view noun);

}  // namespace decode
