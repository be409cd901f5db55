#include "common/IniFile.h"

#include <cctype>
#include <cstdio>

namespace ini {

namespace {
std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}
}  // namespace

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<IniLine> ReadIniLines(std::string_view text) {
  // Editors that save as UTF-8 put a byte order mark before the first section.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<IniLine> lines;
  for (std::size_t number = 1; !text.empty(); ++number) {
    const std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close == std::string_view::npos) {
        lines.push_back({IniLine::Kind::Malformed, number, line, {}});
      } else {
        lines.push_back({IniLine::Kind::Section, number, Trim(line.substr(1, close - 1)), {}});
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      lines.push_back({IniLine::Kind::Malformed, number, line, {}});
      continue;
    }
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    lines.push_back({IniLine::Kind::Entry, number, Trim(line.substr(0, equals)), value});
  }
  return lines;
}

IniFile::IniFile(std::string_view text) {
  std::string section;
  for (const IniLine& line : ReadIniLines(text)) {
    switch (line.kind) {
      case IniLine::Kind::Entry:
        entries_.emplace(std::pair{section, Lower(line.name)}, std::string(line.value));
        break;
      case IniLine::Kind::Section:
        section = Lower(line.name);
        break;
      case IniLine::Kind::Malformed:
        // A section header without its bracket ends the section, as Windows reads it.
        if (line.name.front() == '[') section.clear();
        break;
    }
  }
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
  const auto entry = entries_.find({Lower(section), Lower(key)});
  if (entry == entries_.end()) return std::nullopt;
  return entry->second;
}

std::optional<std::string> ReadTextFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string text;
  char chunk[4096];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return text;
}

}  // namespace ini
