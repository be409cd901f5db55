#pragma once
#include <array>
#include <string>

// The three text lines of the main window's banner, the second showing the driver's version text
// (cut to what the 120-character line buffer holds).
std::array<std::string, 3> BannerLines(const std::string& driverVersion);
