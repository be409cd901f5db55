#include "cli/CommandTable.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace cli {
namespace {

int Cli(std::vector<std::string_view> args, StringConsole& console) { return RunCli(args, console); }

TEST(CommandTable, HelpListsEveryCommandOnStdout) {
  for (std::string_view help : {"--help", "-h", "help"}) {
    StringConsole console;
    EXPECT_EQ(Cli({help}, console), kExitOk) << help;
    for (const Subcommand& c : Subcommands()) EXPECT_NE(console.out.find(c.name), std::string::npos) << c.name;
    EXPECT_TRUE(console.err.empty());
  }
}

TEST(CommandTable, NoCommandShowsHelpAndFails) {
  StringConsole console;
  EXPECT_EQ(Cli({}, console), kExitCannotRun);
  EXPECT_NE(console.out.find("usage:"), std::string::npos);
}

TEST(CommandTable, UnknownCommandIsOneLineOnStderr) {
  StringConsole console;
  EXPECT_EQ(Cli({"frobnicate", "x"}, console), kExitCannotRun);
  EXPECT_EQ(console.err, "kelvanor-cli: unknown command 'frobnicate' (kelvanor-cli --help lists them)\n");
  EXPECT_TRUE(console.out.empty());
}

}  // namespace
}  // namespace cli
