// The run and probe subcommands as a user calls them, on the built-in simulated terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "cli/CliConsole.h"
#include "cli/CommandTable.h"

namespace {

std::string WriteFile(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

int Cli(std::vector<std::string> args, cli::StringConsole& console) {
  std::vector<std::string_view> views(args.begin(), args.end());
  return cli::RunCli(views, console);
}

}  // namespace

// A library every process of the platform can load, with no CT-API in it.
#ifdef _WIN32
constexpr char kNoDriver[] = "kernel32.dll";
#else
constexpr char kNoDriver[] = "libc.so.6";
#endif

TEST(RunCommand, BadInputCannotRun) {
  const std::string good = WriteFile("good.req", "2,1 20130046\n> * 90 00\n");
  const struct {
    std::vector<std::string> args;
    const char* error;
  } cases[] = {
      {{"run"}, "no request file given"},
      {{"run", "/nonexistent/x.req"}, "/nonexistent/x.req: "},
      {{"run", WriteFile("empty.req", "")}, "no command in the file"},
      {{"run", WriteFile("binary.req", std::string("\x7f" "ELF\x02\x01\0\0", 8) + "\n0\xff\xfe\n")}, "line 2: "},
      {{"run", WriteFile("bad.req", "2,1 20110000\n> 90 0\n")}, "bad.req: line 2: malformed expected answer"},
      {{"run", "--bogus", good}, "unknown option --bogus"},
      {{"run", "--ports", "1,1", good}, "--ports 1,1: "},
      {{"run", "--timeout", "-1", good}, "--timeout -1: "},
      {{"run", "--driver", "/nonexistent/libctapi.so", good}, "cannot load /nonexistent/libctapi.so"},
      {{"run", "--driver", kNoDriver, good}, "is no CT-API driver: it has no CT_init"},
      {{"run", "--port", "5", good}, "port 5: CT_init failed: -8 (ERR_CT)"},
  };
  for (const auto& c : cases) {
    cli::StringConsole console;
    EXPECT_EQ(Cli(c.args, console), cli::kExitCannotRun) << c.args.back();
    EXPECT_NE(console.err.find(c.error), std::string::npos) << console.err;
    EXPECT_EQ(console.err.find('\n'), console.err.size() - 1) << "one line: " << console.err;
  }
}

TEST(RunCommand, TwoPortsOfTheSimulatedTerminalAtOnce) {
  const std::string file = WriteFile("ports.req", "#manufacturer\n2,1 20130046\n> 44 45 * 90 00\n2,1 20130080\n> ?? 90 00\n");
  cli::StringConsole console;
  EXPECT_EQ(Cli({"run", "--ports", "0,1", file}, console), cli::kExitOk) << console.err;
  EXPECT_NE(console.out.find("[port 0] Port 0: 2 commands sent, 2 expectations met, 0 failed"), std::string::npos)
      << console.out;
  EXPECT_NE(console.out.find("[port 1] Port 1: 2 commands sent, 2 expectations met, 0 failed"), std::string::npos);
  EXPECT_NE(console.out.find("[port 1] CT_init (CTn: 2, PTn: 1): CT_init ok"), std::string::npos);

  // A port the simulated terminal does not sit on fails alone; the other one still runs.
  cli::StringConsole mixed;
  EXPECT_EQ(Cli({"run", "--ports", "1,3", "--serial", "--json", file}, mixed), cli::kExitCannotRun);
  EXPECT_NE(mixed.out.find("\"port\": 1,"), std::string::npos) << mixed.out;
  EXPECT_NE(mixed.out.find("\"met\": 2"), std::string::npos) << mixed.out;
  EXPECT_NE(mixed.out.find("\"exit\": 2, \"reason\": \"port 3: CT_init failed"), std::string::npos) << mixed.out;
}

// Request files are Latin-1; --json gives their characters as code points, in ASCII.
TEST(RunCommand, JsonOfALatin1FileIsAscii) {
  const std::string file = WriteFile("latin1.req", "#Pr\xfc" "fung \xa7" "3\n2,1 20130046\n> * 90 00\n");
  cli::StringConsole console;
  EXPECT_EQ(Cli({"run", "--json", file}, console), cli::kExitOk) << console.err;
  EXPECT_NE(console.out.find("\"description\": \"Pr\\u00fcfung \\u00a73\""), std::string::npos) << console.out;
  EXPECT_TRUE(std::all_of(console.out.begin(), console.out.end(), [](char c) { return (c & 0x80) == 0; }));
}

TEST(ProbeCommand, ListsTheSimulatedTerminalsPorts) {
  cli::StringConsole console;
  EXPECT_EQ(Cli({"probe", "--ports", "0-2"}, console), cli::kExitOk) << console.err;
  EXPECT_NE(console.out.find("Port 1: CT_init ok\n  driver: ZEMTRAK simulated terminal"), std::string::npos)
      << console.out;
  EXPECT_NE(console.out.find("\n  manufacturer data (GET STATUS 46): 44 45"), std::string::npos);
  EXPECT_NE(console.out.find("\"DEZMTSIMCT01.00\""), std::string::npos);
  // The ATR without its status word, decoded.
  EXPECT_NE(console.out.find("ATR (REQUEST ICC): 3B 68"), std::string::npos);
  EXPECT_NE(console.out.find("\n    TS          3B  Direct convention\n    T0          68"), std::string::npos);
  EXPECT_NE(console.out.find("Port 2: -8 (ERR_CT) "), std::string::npos);

  cli::StringConsole none;
  EXPECT_EQ(Cli({"probe", "--ports", "5", "--json"}, none), cli::kExitFailed);
  EXPECT_EQ(none.out, "{\"ports\": [{\"port\": 5, \"init_rc\": -8}]}\n");

  cli::StringConsole json;
  EXPECT_EQ(Cli({"probe", "--port", "1", "--json"}, json), cli::kExitOk);
  EXPECT_NE(json.out.find("\"atr\": {\"rc\": 0, \"answer\": \"3B 68 00 00 80 4B 4C 56 53 49 4D 01 90 01\""),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"decoded\": {\"convention\": \"direct\""), std::string::npos);
  EXPECT_NE(json.out.find("\"historical\": \"80 4B 4C 56 53 49 4D 01\""), std::string::npos)
      << "the status word 90 01 is no part of the ATR";
}
