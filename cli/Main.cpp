#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "cli/BatchRunner.h"
#include "cli/CliConsole.h"
#include "cli/CommandTable.h"

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  cli::StdConsole console;
  const int exitCode = cli::RunCli(args, console);
  if (cli::DriverCallsLeftBehind()) {
    // A driver call still runs on a thread that cannot be stopped: ending normally would unload
    // the driver and destroy what that call may still use.
    std::fflush(nullptr);
    std::_Exit(exitCode);
  }
  return exitCode;
}
