#include <string_view>
#include <vector>

#include "cli/CliConsole.h"
#include "cli/CommandTable.h"

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  cli::StdConsole console;
  return cli::RunCli(args, console);
}
