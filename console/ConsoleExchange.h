#pragma once
#include <cstdint>
#include <span>

#include "console/ConsoleState.h"
#include "ctapi/CtApi.h"

// One CT_data call of the console with its addresses, which hold what the driver wrote back
// afterwards. On success the response (at most the buffer's 4096 bytes) is stored and its texts
// rebuilt; a failure leaves the earlier response as it was. Returns the driver's code.
int SendConsoleCommand(ConsoleState& state, const CtDriver& driver, std::uint16_t ctn,
                       std::span<const std::uint8_t> command);
