#pragma once
// INI text as Windows reads it, for every driver's settings file: sections and keys regardless of
// case, the first of duplicates wins, blanks around names and values ignored, lines beginning with
// ';' or '#' are comments, a value in double quotes loses them.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ini {

// One line that is neither blank nor a comment, for readers that report where a fault is.
struct IniLine {
  enum class Kind { Section, Entry, Malformed };
  Kind kind = Kind::Malformed;
  std::size_t number = 0;  // from 1
  std::string_view name;   // the section's name or the key, trimmed, case as written
  std::string_view value;  // an entry's value, trimmed and unquoted
};

// The text's lines in order; the views point into text.
std::vector<IniLine> ReadIniLines(std::string_view text);

class IniFile {
 public:
  explicit IniFile(std::string_view text);

  // The value of the key in the section, or nothing when the file has none.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

 private:
  std::map<std::pair<std::string, std::string>, std::string> entries_;  // section and key, lower case
};

std::string Lower(std::string_view s);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadTextFile(const std::string& path);

}  // namespace ini
