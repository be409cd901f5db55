#include "sim/halvex/Scenario.h"

#include <array>
#include <charconv>
#include <string>
#include <utility>

namespace halvexsim {

namespace {

constexpr std::array<std::pair<std::string_view, Fault>, 11> FaultNames = {{
    {"none", Fault::None},
    {"gone", Fault::Gone},
    {"never-ready", Fault::NeverReady},
    {"no-identification", Fault::NoIdentification},
    {"wrong-identification", Fault::WrongIdentification},
    {"no-block-size", Fault::NoBlockSize},
    {"no-reply", Fault::NoReply},
    {"send-error", Fault::SendError},
    {"receive-error", Fault::ReceiveError},
    {"refuses-block-size", Fault::RefusesBlockSize},
    {"never-opens", Fault::NeverOpens},
}};

std::optional<uint32_t> Number(std::string_view s) {
  int radix = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    radix = 16;
  }
  uint32_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, radix);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

bool Apply(Scenario& sc, std::string_view key, std::string_view value) {
  if (key == "version") {
    if (value == "none")
      sc.card.version.reset();
    else
      sc.card.version = std::string(value);
    return true;
  }
  if (key == "fault") {
    for (const auto& [name, fault] : FaultNames) {
      if (name == value) {
        sc.card.fault = fault;
        return true;
      }
    }
    return false;
  }
  const std::optional<uint32_t> n = Number(value);
  if (!n) return false;
  if (key == "base" && *n <= 0xFFFC)
    sc.card.base = static_cast<uint16_t>(*n);
  else if (key == "blocksize" && *n <= 0xFFFF)
    sc.card.blockSize = static_cast<uint16_t>(*n);
  else if (key == "delay")
    sc.card.replyDelayMs = *n;
  else if (key == "powerup")
    sc.card.identificationAtPowerUp = *n != 0;
  else if (key == "clock")
    sc.clockStart = *n;
  else if (key == "tick" && *n > 0)
    sc.msPerTickRead = *n;
  else if (key == "card")
    sc.cardFitted = *n != 0;
  else
    return false;
  return true;
}

}  // namespace

std::optional<Scenario> ParseScenario(std::string_view text) {
  Scenario sc;
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (item.empty()) continue;
    const size_t eq = item.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    if (!Apply(sc, item.substr(0, eq), item.substr(eq + 1))) return std::nullopt;
  }
  return sc;
}

}  // namespace halvexsim
