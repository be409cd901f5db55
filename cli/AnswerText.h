#pragma once
// How the reports write an answer: its bytes in hex, its status word explained, the return code.
#include <string>

#include "cli/RunReport.h"

namespace cli {

// "90 00"; empty for no bytes.
std::string AnswerHex(const CommandResult& result);
// The meaning of the last two answer bytes, the terminal's own for a command to the terminal;
// empty when there are fewer than two.
std::string StatusWordMeaning(const CommandResult& result);
// "rc -8 (ERR_CT)"
std::string ReturnCodeLabel(int rc);

}  // namespace cli
