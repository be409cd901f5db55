#pragma once
#include <string>

#include "app/SessionSettings.h"

// "CTn: 1, PTn: 2": the panels' configuration label.
std::string ConfigLabelText(const SessionSettings& settings);
