#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "sim/halvex/InterfaceCard.h"

namespace halvexsim {

// One simulated machine for the demonstration DLL, described in one line of
// comma-separated settings, e.g. "base=0x3C0,version=2.27" or "fault=no-reply".
// Settings: base, version (a text, or "none" for no version element),
// fault (none, gone, never-ready, no-identification, wrong-identification,
// no-block-size, no-reply, send-error, receive-error, refuses-block-size,
// never-opens), blocksize, delay (ms),
// powerup (1: identification waiting), clock (start value), tick (simulated
// ms per clock reading), card (0: no card). An empty line gives a ready
// reader with firmware 2.28 at 0x300.
struct Scenario {
  bool cardFitted = true;
  CardConfig card;
  uint32_t clockStart = 0;
  uint32_t msPerTickRead = 1;
};

// Nothing when a setting is unknown or malformed.
std::optional<Scenario> ParseScenario(std::string_view text);

}  // namespace halvexsim
