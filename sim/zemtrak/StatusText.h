#pragma once
// What the simulated terminal's control window says about the terminal.

#include <string>

#include "sim/card/SimCardSlot.h"

namespace sim {

std::string StatusText(const SlotState& slot, std::size_t openSessions, bool busy);

}  // namespace sim
