#include "console/ConsoleLogLines.h"

#include "ctapi/ReturnCodeText.h"

namespace {
constexpr std::size_t kLoggedOutputLength = 79;
}

std::string CtInitLogLine(std::uint16_t ctn, std::uint16_t ptn) {
  return "CT_init (CTn: " + std::to_string(ctn) + ", PTn: " + std::to_string(ptn) + ")\n";
}

std::string CtCloseLogLine(std::uint16_t ctn) { return "CT_close (CTn: " + std::to_string(ctn) + ")\n"; }

std::string OutputLogLine(std::string_view outputText) {
  return ">" + std::string(outputText.substr(0, kLoggedOutputLength)) + "\n";
}

std::string DriverResultText(int rc, std::string_view successText, std::string_view errorPrefix) {
  return IsCtSuccess(rc) ? std::string(successText) : DriverErrorText(rc, errorPrefix);
}
