#include "cli/CommandTable.h"

#include <string>

#include "cli/Subcommands.h"

namespace cli {
namespace {

int Help(Arguments args, CliConsole& console);

constexpr Subcommand kSubcommands[] = {
    {"run", "[--driver LIB [--ordinals]] [--ctn N] [--port P | --ports LIST [--serial]] [--log PATH] "
            "[--junit PATH] [--json] [--timeout SECONDS] FILE.req...",
     "play request files through a driver and check their expected answers", RunRequestFiles},
    {"probe", "[--driver LIB [--ordinals]] [--ctn N] [--ports 0-7] [--json]",
     "which terminals a driver reaches, and what they and their cards say", ProbeDriver},
    {"atr", "[--json] HEX", "an ATR taken apart: convention, interface bytes, historical bytes, TCK", RunAtr},
    {"sw", "[--json] [--terminal] SW1SW2", "what a status word means (--terminal: the terminal's own)",
     RunSw},
    {"tlv", "[--json] [--terminal] HEX",
     "BER-TLV data objects as a tree (--terminal: the terminal's objects)", RunTlv},
    {"help", "", "this list", Help},
};

void PrintHelp(CliConsole& console) {
  std::string text =
      "usage: kelvanor-cli COMMAND [OPTIONS] [ARGUMENTS]\n"
      "\n"
      "Commands:\n";
  size_t width = 0;
  for (const Subcommand& c : kSubcommands) {
    size_t w = c.name.size() + (c.usage.empty() ? 0 : c.usage.size() + 1);
    if (w > width) width = w;
  }
  for (const Subcommand& c : kSubcommands) {
    std::string left(c.name);
    if (!c.usage.empty()) (left += ' ') += c.usage;
    left.resize(width, ' ');
    text += "  " + left + "  " + std::string(c.summary) + "\n";
  }
  text += "\nExit codes: 0 done, 1 an expectation not met, 2 could not run.\n";
  console.Out(text);
}

int Help(Arguments, CliConsole& console) {
  PrintHelp(console);
  return kExitOk;
}

}  // namespace

std::span<const Subcommand> Subcommands() { return kSubcommands; }

int RunCli(Arguments args, CliConsole& console) {
  if (args.empty()) {
    PrintHelp(console);
    return kExitCannotRun;
  }
  std::string_view name = args.front();
  if (name == "--help" || name == "-h") name = "help";
  for (const Subcommand& c : kSubcommands) {
    if (c.name == name) return c.run(args.subspan(1), console);
  }
  console.Err("kelvanor-cli: unknown command '" + std::string(name) + "' (kelvanor-cli --help lists them)\n");
  return kExitCannotRun;
}

}  // namespace cli
