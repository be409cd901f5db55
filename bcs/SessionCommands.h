#pragma once
// CT_init and CT_close as the panel makes them, with their messages and log lines.
#include <string>

#include "bcs/Outcome.h"
#include "ctapi/CtApi.h"
#include "session/SessionSettings.h"

Outcome InitTerminal(const CtDriver& driver, const SessionSettings& settings);
Outcome CloseTerminal(const CtDriver& driver, const SessionSettings& settings);

std::string InitLogLine(const SessionSettings& settings);
std::string CloseLogLine(const SessionSettings& settings);
