#pragma once
#include <cstdint>

// Terminal and port number passed to the driver; every run starts at 0, 0.
struct SessionSettings {
  std::uint16_t ctn = 0;
  std::uint16_t ptn = 0;
};

// The one program-wide instance, read by every panel at each driver call.
SessionSettings& Settings();
