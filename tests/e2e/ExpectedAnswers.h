#pragma once
// The expected answers of a request file: ">" lines after a command, any one of which its answer
// must match: "90 00" (the whole answer, hex, blanks optional), "??" any one byte, "*" any number of
// bytes, or "rc -8" for a CT_data return code.
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One element of an expected answer: a byte, any one byte (-1) or any number of bytes (-2).
using Pattern = std::vector<int>;

// "90 00", "?? 90 00", "* 90 00"; nothing for a line that says a return code instead.
inline std::optional<Pattern> AnswerPattern(std::string_view text) {
  Pattern pattern;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
    } else if (text.substr(i, 2) == "??") {
      pattern.push_back(-1);
      i += 2;
    } else if (text[i] == '*') {
      pattern.push_back(-2);
      ++i;
    } else {
      int byte = 0;
      if (i + 2 > text.size() ||
          std::from_chars(text.data() + i, text.data() + i + 2, byte, 16).ptr != text.data() + i + 2)
        return std::nullopt;
      pattern.push_back(byte);
      i += 2;
    }
  }
  return pattern;
}

inline bool Matches(const Pattern& p, std::size_t at, const std::vector<std::uint8_t>& answer,
                    std::size_t from) {
  if (at == p.size()) return from == answer.size();
  if (p[at] == -2) {
    for (std::size_t skip = from; skip <= answer.size(); ++skip)
      if (Matches(p, at + 1, answer, skip)) return true;
    return false;
  }
  return from < answer.size() && (p[at] == -1 || p[at] == answer[from]) &&
         Matches(p, at + 1, answer, from + 1);
}

// A command of a request file with the answers any one of which it must get.
struct Step {
  std::string command;
  std::vector<std::string> expected;  // the ">" lines' texts
};

inline std::vector<Step> Steps(const std::string& bytes) {
  std::vector<Step> steps;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (std::isdigit(static_cast<unsigned char>(line[0]))) steps.push_back({line, {}});
    if (line[0] == '>' && !steps.empty())
      steps.back().expected.push_back(line.substr(line.find_first_not_of("> ")));
  }
  return steps;
}

// Whether a CT_data result meets any one of a step's expectations.
inline bool Meets(const std::vector<std::string>& expected, int rc, const std::vector<std::uint8_t>& answer) {
  for (const std::string& e : expected) {
    if (e.starts_with("rc ")) {
      if (std::to_string(rc) == e.substr(3)) return true;
      continue;
    }
    const std::optional<Pattern> pattern = AnswerPattern(e);
    if (pattern && rc == 0 && Matches(*pattern, 0, answer, 0)) return true;
  }
  return false;
}
