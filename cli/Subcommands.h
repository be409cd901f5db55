#pragma once
// The handlers that CommandTable.cpp lists, each in a file of its own.

#include "cli/CommandTable.h"

namespace cli {

int RunRequestFiles(Arguments args, CliConsole& console);  // RunCommand.cpp
int ProbeDriver(Arguments args, CliConsole& console);      // ProbeCommand.cpp
int RunAtr(Arguments args, CliConsole& console);
int RunSw(Arguments args, CliConsole& console);
int RunTlv(Arguments args, CliConsole& console);

}  // namespace cli
