#include "sim/zemtrak/Settings.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

#include "common/IniFile.h"

namespace sim {

namespace {
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
  const std::string v = ini::Lower(value);
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
void Apply(const ini::IniFile& file, const char* section, const char* key, Parse parse, T& field) {
  const std::optional<std::string> text = file.Value(section, key);
  if (!text) return;
  if (const auto value = parse(*text)) field = *value;
}
}  // namespace

Settings ParseSettings(std::string_view text) {
  const ini::IniFile entries(text);
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

std::optional<std::string> SettingsTextFromEnvironment() {
  const char* path = std::getenv("ZEMTRAK_SIM_SETTINGS");
  if (!path || !*path) return std::nullopt;
  return ini::ReadTextFile(path);
}

}  // namespace sim
