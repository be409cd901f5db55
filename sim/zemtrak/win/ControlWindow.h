#pragma once
// The simulated terminal's small window, on a thread of its own so that it stays usable while the
// client blocks in CT_data: it shows the terminal's state and lets a person insert, remove and
// choose the card, or close the sessions a client left open.
#include <windows.h>

#include "sim/zemtrak/TerminalSim.h"

namespace sim {

// Once per process; not when ZEMTRAK_SIM_WINDOW is 0, and silently not when there is no display.
// The thread keeps module loaded until its window is closed.
void StartControlWindow(TerminalSim& terminal, HMODULE module);

}  // namespace sim
