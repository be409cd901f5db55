#pragma once
// Expected answers of a request file: the ">" lines after a command. "> 90 00" the whole answer,
// "??" any one byte, "*" any number of bytes, "> rc -8" the return code of CT_data; several lines
// after one command are alternatives.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct AnswerPattern {
  static constexpr int kAnyByte = -1;
  static constexpr int kAnyBytes = -2;

  std::optional<int> rc;   // "rc N": this return code, whatever the answer
  std::vector<int> items;  // otherwise: byte values, kAnyByte and kAnyBytes, for a successful call
  std::string text;        // as written, for reports
};

// The text after '>'. Nothing, with the reason in error, when it is no expectation.
std::optional<AnswerPattern> ParseAnswerPattern(std::string_view text, std::string& error);

bool Matches(const AnswerPattern& pattern, int rc, std::span<const std::uint8_t> answer);

struct Expectation {
  std::vector<AnswerPattern> alternatives;  // empty: the command is not checked
  bool Checked() const { return !alternatives.empty(); }
  bool MetBy(int rc, std::span<const std::uint8_t> answer) const;
  // "90 00" or "90 00 | rc -8"
  std::string Text() const;
};

}  // namespace cli
