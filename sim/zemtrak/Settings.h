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

// INI text as Windows reads it: sections and keys regardless of case, the first of duplicates
// wins, blanks around names and values ignored, lines beginning with ';' or '#' are comments.
Settings ParseSettings(std::string_view text);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadTextFile(const std::string& path);

}  // namespace sim
