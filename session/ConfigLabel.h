#pragma once
#include <string>

#include "session/SessionSettings.h"

// "CTn: 1, PTn: 2": the panels' configuration label.
std::string ConfigLabelText(const SessionSettings& settings);
