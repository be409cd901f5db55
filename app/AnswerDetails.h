#pragma once
// What the Answer Details window shows for the last exchange of either panel: who sent what, the
// answer's bytes and what they mean.
#include <optional>
#include <string>

#include "session/LastExchange.h"

constexpr char kNoExchangeYet[] =
    "No command sent yet. The answers of the test console and the CT-BCS panel show here as they come.";

// The whole text for a read-only edit control, lines ended by CR LF.
std::string AnswerDetailsText(const std::optional<Exchange>& exchange);
