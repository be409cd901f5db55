#include <gtest/gtest.h>

#include "decode/StatusWord.h"

namespace decode {
namespace {

struct Case {
  std::uint16_t sw;
  StatusKind kind;
  std::string_view meaning;
};

StatusWord Card(std::uint16_t sw) { return DecodeStatusWord(sw >> 8, sw & 0xFF); }

TEST(StatusWord, CardTableByFamily) {
  const Case cases[] = {
      {0x9000, StatusKind::Normal, "Normal processing: no further qualification"},
      {0x6110, StatusKind::Normal, "16 data bytes still available (GET RESPONSE)"},
      {0x6100, StatusKind::Normal, "256 or more data bytes still available (GET RESPONSE)"},
      {0x6200, StatusKind::Warning, "Warning, memory unchanged: no information given"},
      {0x6281, StatusKind::Warning, "Part of returned data may be corrupted"},
      {0x6283, StatusKind::Warning, "Selected file deactivated"},
      {0x6202, StatusKind::Warning, "Warning: triggering by the card (2 bytes to query)"},
      {0x6300, StatusKind::Warning, "Warning, memory changed: no information given"},
      {0x63C3, StatusKind::Warning, "Counter 3: tries left where the command verifies a secret"},
      {0x63C0, StatusKind::Warning, "Counter 0: tries left where the command verifies a secret"},
      {0x6400, StatusKind::ExecutionError, "Execution error, memory unchanged: no information given"},
      {0x6581, StatusKind::ExecutionError, "Memory failure"},
      {0x6600, StatusKind::ExecutionError, "Security-related issue"},
      {0x6700, StatusKind::CheckingError, "Wrong length; no further indication"},
      {0x6882, StatusKind::CheckingError, "Secure messaging not supported"},
      {0x6982, StatusKind::CheckingError, "Security status not satisfied"},
      {0x6983, StatusKind::CheckingError, "Authentication method blocked"},
      {0x6A82, StatusKind::CheckingError, "File or application not found"},
      {0x6A86, StatusKind::CheckingError, "Incorrect parameters P1-P2"},
      {0x6A8A, StatusKind::CheckingError, "DF name already exists"},
      {0x6B00, StatusKind::CheckingError, "Wrong parameters P1-P2"},
      {0x6C1C, StatusKind::CheckingError, "Wrong Le field: 28 data bytes available, send again with that Le"},
      {0x6C00, StatusKind::CheckingError, "Wrong Le field: 256 data bytes available, send again with Le 00"},
      {0x6D00, StatusKind::CheckingError, "Instruction code not supported or invalid"},
      {0x6E00, StatusKind::CheckingError, "Class not supported"},
      {0x6F00, StatusKind::CheckingError, "No precise diagnosis"},
  };
  for (const Case& c : cases) {
    const StatusWord status = Card(c.sw);
    EXPECT_EQ(status.meaning, c.meaning) << std::hex << c.sw;
    EXPECT_EQ(status.kind, c.kind) << std::hex << c.sw;
    EXPECT_FALSE(status.terminal);
    EXPECT_FALSE(status.group.empty());
  }
}

TEST(StatusWord, UndefinedSw2NamesItsGroup) {
  EXPECT_EQ(Card(0x6A90).meaning,
            "Checking error: wrong parameters P1-P2 (SW2 90 not defined by ISO/IEC 7816-4)");
  EXPECT_EQ(Card(0x6288).meaning,
            "Warning: non-volatile memory unchanged (SW2 88 not defined by ISO/IEC 7816-4)");
  EXPECT_EQ(Card(0x6F12).kind, StatusKind::CheckingError);
  for (std::uint16_t sw : {0x9001, 0x9F10, 0x0000, 0x6000, 0xFFFF}) {
    EXPECT_EQ(Card(sw).kind, StatusKind::Unknown) << std::hex << sw;
    EXPECT_EQ(Card(sw).meaning, "Not defined by ISO/IEC 7816-4: proprietary, or not a status word");
  }
}

TEST(StatusWord, TerminalMeaningsDependOnTheCommand) {
  struct TerminalCase {
    std::uint16_t sw;
    std::optional<std::uint8_t> ins;
    std::string_view meaning;
    bool terminal;
  } cases[] = {
      {0x6200, 0x12, "No card presented within the time", true},
      {0x6200, 0x15, "Card not removed within the time", true},
      {0x6200, std::nullopt, "No card presented within the time", true},
      {0x6201, 0x12, "Card already present and activated", true},
      {0x64A1, 0x11, "No card present", true},
      {0x64A1, std::nullopt, "No card present", true},
      {0x9001, 0x11, "Reset successful: asynchronous card", true},
      {0x9001, 0x12, "Asynchronous card presented, reset successful", true},
      {0x9001, 0x15, "Command successful, card removed", true},
      {0x9001, 0x13, "Command successful: asynchronous card", true},
      {0x9000, 0x13, "Command successful", true},
      {0x6400, 0x11, "Reset not successful", true},
      // no meaning of the terminal's own: the card's
      {0x6A00, 0x11, "Wrong parameters P1-P2: no information given", false},
      {0x6D00, std::nullopt, "Instruction code not supported or invalid", false},
  };
  for (const TerminalCase& c : cases) {
    const StatusWord status = DecodeTerminalStatusWord(c.sw >> 8, c.sw & 0xFF, c.ins);
    EXPECT_EQ(status.meaning, c.meaning) << std::hex << c.sw;
    EXPECT_EQ(status.terminal, c.terminal) << std::hex << c.sw;
  }
  EXPECT_EQ(DecodeTerminalStatusWord(0x64, 0xA1).kind, StatusKind::ExecutionError);
  EXPECT_EQ(DecodeTerminalStatusWord(0x90, 0x01).kind, StatusKind::Normal);
  EXPECT_EQ(DecodeTerminalStatusWord(0x62, 0x00).kind, StatusKind::Warning);
}

TEST(StatusWord, LinesForAPerson) {
  EXPECT_EQ(StatusWordLines(Card(0x6A82)), (std::vector<std::string>{
                                               "SW1 SW2  6A 82",
                                               "Group    Checking error: wrong parameters P1-P2",
                                               "Meaning  File or application not found",
                                           }));
}

}  // namespace
}  // namespace decode
