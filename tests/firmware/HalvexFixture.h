#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/halvex/SimBus.h"

namespace halvextest {

// The recorded port accesses in a compact form, e.g. "r1 w1:01 r2 r0*20":
// rN reads and wN:VV writes at base+N (other ports by absolute number, in
// hex), data bytes written shown without their value, repeats folded as *n.
std::string Trace(const std::vector<halvexsim::PortAccess>& accesses, uint16_t base);

// The values written to one port, in order.
std::vector<uint8_t> WritesTo(const std::vector<halvexsim::PortAccess>& accesses, uint16_t port);

}  // namespace halvextest
