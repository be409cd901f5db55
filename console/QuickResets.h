#pragma once
// The console's two fixed reset commands, sent without parsing any text.
#include <array>
#include <cstdint>

struct QuickReset {
  const char* commandText;  // put into the command field, so CT_data can send it again
  const char* description;
  std::array<std::uint8_t, 5> bytes;
  const char* logLine;
};

inline constexpr QuickReset kQuickResetCt{
    "2,1    2010000000", "Reset CT", {0x20, 0x10, 0x00, 0x00, 0x00}, "2,1 2010000000\n"};
inline constexpr QuickReset kQuickResetIcc{
    "2,1    2010010100", "Reset ICC", {0x20, 0x10, 0x01, 0x01, 0x00}, "2,1 2010010100\n"};
