#pragma once
// The simulated terminal's settings file (ZEMTRAK.INI): the starting card, the automation for
// unattended runs, the port and what GET STATUS reports. Unknown keys and bad values keep the default.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/card/SimCardSlot.h"

namespace sim {

struct Settings {
  static constexpr std::string_view kDefaultManufacturer = "DEZMTSIMCT01.00";

  bool cardInserted = true;
  CardType cardType = CardType::Processor;
  SlotAutomation automation;
  std::uint16_t port = 1;
  std::string manufacturer{kDefaultManufacturer};
  bool statusObjects = false;
  bool window = true;

  bool operator==(const Settings&) const = default;
};

// INI text as Windows reads it (common/IniFile.h).
Settings ParseSettings(std::string_view text);

// The settings text of the file that the environment variable ZEMTRAK_SIM_SETTINGS names, for the
// simulated terminal outside a DLL (libctapi-sim.so, kelvanor-cli); nothing without one.
std::optional<std::string> SettingsTextFromEnvironment();

}  // namespace sim
