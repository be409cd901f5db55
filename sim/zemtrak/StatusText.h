#pragma once
// What the simulated terminal's control window says about the terminal.

#include <optional>
#include <string>

#include "sim/card/SimCardSlot.h"

namespace sim {

// card: the one in the slot, or the one last in it. A card file's problem comes last.
std::string StatusText(const SlotState& slot, const CardChoice& card, std::size_t openSessions, bool busy,
                       const std::optional<std::string>& problem = std::nullopt);

}  // namespace sim
