#pragma once
// kelvanor-cli's subcommands, one table: the name a user types, one line for --help, the handler.

#include <span>
#include <string_view>

#include "cli/CliConsole.h"

namespace cli {

// The process's exit codes, for every subcommand alike.
enum ExitCode : int {
  kExitOk = 0,        // done, every expectation met
  kExitFailed = 1,    // done, but something did not answer as expected
  kExitCannotRun = 2  // bad usage or input, or the run could not be made
};

using Arguments = std::span<const std::string_view>;

struct Subcommand {
  std::string_view name;
  std::string_view usage;    // what follows the name, e.g. "[--json] HEX"
  std::string_view summary;  // one line for --help
  int (*run)(Arguments args, CliConsole& console);  // the arguments after the name
};

std::span<const Subcommand> Subcommands();

// The whole program: args are argv[1..].
int RunCli(Arguments args, CliConsole& console);

}  // namespace cli
