#include "decode/TextRows.h"

#include <algorithm>

namespace decode {

std::vector<std::string> AlignedLines(std::span<const TextRow> rows) {
  std::size_t labelWidth = 0, valueWidth = 0;
  for (const TextRow& row : rows) {
    if (!row.value.empty() || !row.meaning.empty()) labelWidth = std::max(labelWidth, row.label.size());
    if (!row.meaning.empty()) valueWidth = std::max(valueWidth, row.value.size());
  }
  std::vector<std::string> lines;
  lines.reserve(rows.size());
  for (const TextRow& row : rows) {
    std::string line = row.label;
    if (!row.value.empty() || !row.meaning.empty()) {
      line.resize(labelWidth + 2, ' ');
      line += row.value;
    }
    if (!row.meaning.empty()) {
      line.resize(labelWidth + 2 + valueWidth + 2, ' ');
      line += row.meaning;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string Count(std::size_t n, std::string_view noun) {
  std::string text = std::to_string(n) + ' ';
  text += noun;
  if (n != 1) text += 's';
  return text;
}

}  // namespace decode
