#include "sim/zemtrak/Settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

namespace sim {

namespace {
using Key = std::pair<std::string, std::string>;  // section and key, lower case

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::map<Key, std::string> ReadEntries(std::string_view text) {
  std::map<Key, std::string> entries;
  std::string section;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      section = close == std::string_view::npos ? std::string() : Lower(Trim(line.substr(1, close - 1)));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    entries.emplace(Key{section, Lower(Trim(line.substr(0, equals)))}, std::string(value));
  }
  return entries;
}

template <class T>
std::optional<T> Number(const std::string& value) {
  T n{};
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (value.empty() || error != std::errc() || end != value.data() + value.size()) return std::nullopt;
  return n;
}

std::optional<bool> Flag(const std::string& value) {
  if (value == "0") return false;
  if (value == "1") return true;
  return std::nullopt;
}

std::optional<CardType> Type(const std::string& value) {
  const std::string v = Lower(value);
  if (v == "async") return CardType::Processor;
  if (v == "sync") return CardType::Memory;
  return std::nullopt;
}

std::optional<Millis> Delay(const std::string& value) {
  const std::optional<std::uint32_t> ms = Number<std::uint32_t>(value);
  return ms ? std::optional<Millis>(Millis(*ms)) : std::nullopt;
}

std::optional<std::string> Manufacturer(const std::string& value) {
  if (value.empty()) return std::nullopt;
  std::string out(Settings::kDefaultManufacturer.size(), ' ');
  for (std::size_t i = 0; i < out.size() && i < value.size(); ++i) {
    if (std::isprint(static_cast<unsigned char>(value[i]))) out[i] = value[i];
  }
  return out;
}

template <class T, class Parse>
void Apply(const std::map<Key, std::string>& entries, const char* section, const char* key, Parse parse,
           T& field) {
  const auto entry = entries.find({section, key});
  if (entry == entries.end()) return;
  if (const auto value = parse(entry->second)) field = *value;
}
}  // namespace

Settings ParseSettings(std::string_view text) {
  const std::map<Key, std::string> entries = ReadEntries(text);
  Settings s;
  Apply(entries, "card", "inserted", Flag, s.cardInserted);
  Apply(entries, "card", "type", Type, s.cardType);
  Apply(entries, "card", "insertafterms", Delay, s.automation.insertAfter);
  Apply(entries, "card", "removeafterms", Delay, s.automation.removeAfter);
  Apply(entries, "terminal", "port", Number<std::uint16_t>, s.port);
  Apply(entries, "terminal", "manufacturer", Manufacturer, s.manufacturer);
  Apply(entries, "terminal", "statusobjects", Flag, s.statusObjects);
  Apply(entries, "window", "show", Flag, s.window);
  return s;
}

std::optional<std::string> ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace sim
