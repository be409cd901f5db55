#pragma once
// The lines the test console writes to the session log for its driver calls, so that any other
// runner of the same commands (kelvanor-cli run --log) writes the same log.
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr char kCtInitOkText[] = "CT_init ok";
inline constexpr char kCtInitErrorPrefix[] = "Error CT_init RC-code = ";
inline constexpr char kCtCloseOkText[] = "CT_close ok";
inline constexpr char kCtCloseErrorPrefix[] = "Error CT_close RC-Code = ";
inline constexpr char kCtDataOkText[] = "CT_data ok";
inline constexpr char kCtDataErrorPrefix[] = "Error CT_data RC-Code = ";

// "CT_init (CTn: 1, PTn: 2)\n"
std::string CtInitLogLine(std::uint16_t ctn, std::uint16_t ptn);
// "CT_close (CTn: 1)\n"
std::string CtCloseLogLine(std::uint16_t ctn);
// The output line's text as the log reads it back: ">" and at most 79 characters.
std::string OutputLogLine(std::string_view outputText);
// What the output line shows after a driver call: the success text, or the error text of the code.
std::string DriverResultText(int rc, std::string_view successText, std::string_view errorPrefix);
