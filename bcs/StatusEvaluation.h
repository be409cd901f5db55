#pragma once
// Judges a terminal's answer to one of the panel's commands by its status words.
#include <cstdint>
#include <span>
#include <string_view>

#include "bcs/BcsOperation.h"
#include "bcs/Outcome.h"

// response: the bytes of the answer (at most the panel's 2048). The first row of the operation's
// table whose pattern occurs anywhere in the status text decides; no row gives the failure row.
Outcome EvaluateResponse(const BcsOperation& operation, std::span<const std::uint8_t> response);

// A negative driver result: the driver's text for it, or the operation's own format.
Outcome DriverErrorOutcome(int rc, std::string_view errorPrefix);

std::string_view IccStatusText(std::uint8_t status);
