// atr, sw and tlv as a user and a script call them: the whole program through RunCli.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "cli/CommandTable.h"

namespace cli {
namespace {

struct CliRun {
  int code;
  std::string out, err;
};

CliRun Cli(std::vector<std::string_view> args) {
  StringConsole console;
  const int code = RunCli(args, console);
  return {code, console.out, console.err};
}

TEST(DecodeCommands, BadHexIsOneLineOnStderrAndExitTwo) {
  struct Case {
    std::vector<std::string_view> args;
    std::string_view err;
  } cases[] = {
      {{"atr"}, "kelvanor-cli atr: no hex digits given\n"},
      {{"atr", ""}, "kelvanor-cli atr: no hex digits given\n"},
      {{"atr", "3B0"}, "kelvanor-cli atr: odd number of hex digits\n"},
      {{"atr", "3B", "0"}, "kelvanor-cli atr: odd number of hex digits\n"},
      {{"atr", "3BXY"}, "kelvanor-cli atr: not a hex digit\n"},
      {{"atr", "--xml", "3B00"}, "kelvanor-cli atr: unknown option '--xml'\n"},
      {{"sw", "--json"}, "kelvanor-cli sw: no hex digits given\n"},
      {{"sw", "90"}, "kelvanor-cli sw: a status word is two bytes, SW1 SW2\n"},
      {{"sw", "900000"}, "kelvanor-cli sw: a status word is two bytes, SW1 SW2\n"},
      {{"sw", "9G00"}, "kelvanor-cli sw: not a hex digit\n"},
      {{"tlv", "6F0"}, "kelvanor-cli tlv: odd number of hex digits\n"},
      {{"tlv", "--json"}, "kelvanor-cli tlv: no hex digits given\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.code, kExitCannotRun) << c.err;
    EXPECT_EQ(run.err, c.err);
    EXPECT_TRUE(run.out.empty()) << c.err;
  }
}

TEST(DecodeCommands, HelpListsTheDecoders) {
  const CliRun run = Cli({"--help"});
  for (std::string_view line :
       {"  atr [--json] HEX ", "  sw [--json] [--terminal] SW1SW2 ", "  tlv [--json] [--terminal] HEX "})
    EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

TEST(DecodeCommands, SwForAPerson) {
  const CliRun run = Cli({"sw", "6A82"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out,
            "SW1 SW2  6A 82\n"
            "Group    Checking error: wrong parameters P1-P2\n"
            "Meaning  File or application not found\n");
  EXPECT_TRUE(run.err.empty());
}

TEST(DecodeCommands, SwAsJson) {
  struct Case {
    std::vector<std::string_view> args;
    std::string_view out;
  } cases[] = {
      {{"sw", "--json", "6a:82"}, "{\"sw\": \"6A82\", \"text\": \"File or application not found\"}\n"},
      {{"sw", "63", "C2", "--json"},
       "{\"sw\": \"63C2\", \"text\": \"Counter 2: tries left where the command verifies a secret\"}\n"},
      {{"sw", "--json", "--terminal", "64A1"}, "{\"sw\": \"64A1\", \"text\": \"No card present\"}\n"},
      {{"sw", "--json", "64A1"},
       "{\"sw\": \"64A1\", \"text\": \"Execution error: non-volatile memory unchanged (SW2 A1 not defined by "
       "ISO/IEC 7816-4)\"}\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.code, kExitOk);
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(DecodeCommands, AtrForAPerson) {
  const CliRun run = Cli({"atr", "3B 02 14 50"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out,
            "TS          3B  Direct convention\n"
            "T0          02  No interface bytes; 2 historical bytes\n"
            "Protocols   T=0\n"
            "Rate        Fi 372, Di 1, f max 5 MHz\n"
            "Historical  14 50\n"
            "  Category  14  Proprietary\n");
}

TEST(DecodeCommands, AtrAsJson) {
  const CliRun run = Cli({"atr", "--json", "3B:95:13:81:31:FE:45:80:73:FF:01:00:81"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(
      run.out,
      "{\"convention\": \"direct\", \"synchronous\": false, \"fi\": 372, \"di\": 4, \"fmax_mhz\": 5, "
      "\"protocols\": [1], \"interface\": ["
      "{\"name\": \"TA1\", \"value\": \"13\", \"meaning\": \"Fi 372, f max 5 MHz, Di 4: 43011 bit/s at 4 "
      "MHz, "
      "53763 bit/s at 5 MHz\"}, "
      "{\"name\": \"TD1\", \"value\": \"81\", \"meaning\": \"T=1; TD2 follows\"}, "
      "{\"name\": \"TD2\", \"value\": \"31\", \"meaning\": \"T=1; TA3 TB3 follow\"}, "
      "{\"name\": \"TA3\", \"value\": \"FE\", \"meaning\": \"IFSC 254 bytes\"}, "
      "{\"name\": \"TB3\", \"value\": \"45\", \"meaning\": \"BWI 4, CWI 5: CWT 43 etu, BWT 11 etu + 1428 ms "
      "at 4 "
      "MHz\"}], "
      "\"historical\": \"80 73 FF 01 00\", \"compact_tlv\": [{\"tag\": 7, \"length\": 3, \"value\": \"FF 01 "
      "00\", "
      "\"meaning\": \"Card capabilities: selection by full DF name, partial DF name, path, file identifier, "
      "implicit DF, short EF identifier, record number, record identifier; data coding 01: one-time write, "
      "FF "
      "invalid as first tag byte, data unit 2 quartets; no logical channels\"}], "
      "\"tck\": {\"present\": true, \"valid\": false}, \"problems\": [\"TCK 81 is wrong: 80 expected\"]}\n");
}

TEST(DecodeCommands, AtrJsonOfAMemoryCardAndOfNoTa1) {
  const CliRun memory = Cli({"atr", "--json", "A2131091"});
  EXPECT_NE(memory.out.find("\"convention\": null, \"synchronous\": true"), std::string::npos) << memory.out;
  EXPECT_NE(memory.out.find("\"protocols\": [], \"interface\": [{\"name\": \"H1\", \"value\": \"A2\""),
            std::string::npos);
  const CliRun plain = Cli({"atr", "--json", "3B00"});
  EXPECT_EQ(plain.out,
            "{\"convention\": \"direct\", \"synchronous\": false, \"fi\": 372, \"di\": 1, \"fmax_mhz\": 5, "
            "\"protocols\": [0], \"interface\": [], \"historical\": \"\", \"compact_tlv\": [], "
            "\"tck\": {\"present\": false, \"valid\": false}, \"problems\": []}\n");
}

TEST(DecodeCommands, TlvForAPerson) {
  const CliRun run = Cli({"tlv", "6F 07 84 02 A0 00 50 01 41"});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out,
            "6F    7  File control information (FCI)\n"
            "  84  2  DF name: A0 00\n"
            "  50  1  Application label: 41 \"A\"\n");
}

TEST(DecodeCommands, TlvAsJson) {
  struct Case {
    std::vector<std::string_view> args;
    std::string_view out;
  } cases[] = {
      {{"tlv", "--json", "62 07 82 01 38 A5 02 80 00 00 5F 2D 02 65 6E"},
       "{\"tlv\": [{\"tag\": \"62\", \"length\": 7, \"name\": \"File control parameters (FCP)\", "
       "\"children\": ["
       "{\"tag\": \"82\", \"length\": 1, \"name\": \"File descriptor\", \"value\": \"38\"}, "
       "{\"tag\": \"A5\", \"length\": 2, \"name\": \"Proprietary information, constructed\", \"children\": ["
       "{\"tag\": \"80\", \"length\": 0, \"name\": \"Context-specific, primitive\", \"value\": \"\"}]}]}, "
       "{\"tag\": \"5F2D\", \"length\": 2, \"name\": \"Language preference\", \"value\": \"65 6E\"}], "
       "\"problems\": []}\n"},
      {{"tlv", "--json", "--terminal", "80 02 05"},
       "{\"tlv\": [{\"tag\": \"80\", \"length\": 2, \"name\": \"ICC status\", \"cut_short\": true, "
       "\"value\": "
       "\"05\"}], \"problems\": [\"Object 80 at offset 0 announces 2 bytes, 1 follow\"]}\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.code, kExitOk);
    EXPECT_EQ(run.out, c.out);
  }
}

}  // namespace
}  // namespace cli
