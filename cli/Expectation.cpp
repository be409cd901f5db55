#include "cli/Expectation.h"

#include <algorithm>
#include <charconv>

namespace cli {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<AnswerPattern> ReturnCode(std::string_view text, std::string& error) {
  const std::string_view number = Trimmed(text);
  int rc = 0;
  const auto [end, failure] = std::from_chars(number.data(), number.data() + number.size(), rc);
  if (number.empty() || failure != std::errc() || end != number.data() + number.size() || rc < -128 ||
      rc > 127) {
    error = "'rc' needs a return code from -128 to 127";
    return std::nullopt;
  }
  AnswerPattern pattern;
  pattern.rc = rc;
  return pattern;
}

}  // namespace

std::optional<AnswerPattern> ParseAnswerPattern(std::string_view text, std::string& error) {
  const std::string_view body = Trimmed(text);
  std::optional<AnswerPattern> pattern;
  if (body.size() >= 2 && (body[0] == 'r' || body[0] == 'R') && (body[1] == 'c' || body[1] == 'C') &&
      (body.size() == 2 || IsBlank(body[2]))) {
    pattern = ReturnCode(body.substr(2), error);
  } else {
    if (body.empty()) {
      error = "no answer after '>'";
      return std::nullopt;
    }
    pattern.emplace();
    for (std::size_t i = 0; i < body.size();) {
      const char c = body[i];
      if (IsBlank(c)) {
        ++i;
      } else if (c == '*') {
        // "* *" says no more than "*".
        if (pattern->items.empty() || pattern->items.back() != AnswerPattern::kAnyBytes)
          pattern->items.push_back(AnswerPattern::kAnyBytes);
        ++i;
      } else if (c == '?' && i + 1 < body.size() && body[i + 1] == '?') {
        pattern->items.push_back(AnswerPattern::kAnyByte);
        i += 2;
      } else if (HexDigit(c) >= 0 && i + 1 < body.size() && HexDigit(body[i + 1]) >= 0) {
        pattern->items.push_back(HexDigit(c) * 16 + HexDigit(body[i + 1]));
        i += 2;
      } else {
        error = HexDigit(c) >= 0 ? "a hex byte needs two digits"
                                 : "'" + std::string(1, c) + "' is neither a hex byte, '?\?' nor '*'";
        error += " (at column " + std::to_string(text.find(body) + i + 2) + ")";
        return std::nullopt;
      }
    }
  }
  if (pattern) pattern->text = std::string(body);
  return pattern;
}

bool Matches(const AnswerPattern& pattern, int rc, std::span<const std::uint8_t> answer) {
  if (pattern.rc) return rc == *pattern.rc;
  if (rc < 0) return false;
  // Wildcard matching; after a '*' fails further on, it takes one byte more and tries again.
  const std::vector<int>& items = pattern.items;
  std::size_t item = 0, byte = 0;
  std::optional<std::size_t> starItem;
  std::size_t starByte = 0;
  while (byte < answer.size()) {
    if (item < items.size() && items[item] == AnswerPattern::kAnyBytes) {
      starItem = item++;
      starByte = byte;
    } else if (item < items.size() && (items[item] == AnswerPattern::kAnyByte || items[item] == answer[byte])) {
      ++item;
      ++byte;
    } else if (starItem) {
      item = *starItem + 1;
      byte = ++starByte;
    } else {
      return false;
    }
  }
  while (item < items.size() && items[item] == AnswerPattern::kAnyBytes) ++item;
  return item == items.size();
}

bool Expectation::MetBy(int rc, std::span<const std::uint8_t> answer) const {
  return std::any_of(alternatives.begin(), alternatives.end(),
                     [&](const AnswerPattern& p) { return Matches(p, rc, answer); });
}

std::string Expectation::Text() const {
  std::string text;
  for (const AnswerPattern& p : alternatives) {
    if (!text.empty()) text += " | ";
    text += p.rc ? "rc " + std::to_string(*p.rc) : p.text;
  }
  return text;
}

}  // namespace cli
