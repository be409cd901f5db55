// The bytes each command sends, the input label it shows and the line it logs.
#include <gtest/gtest.h>

#include <vector>

#include "bcs/BcsOperation.h"
#include "bcs/CardParameters.h"

TEST(CommandPreparation, FixedCommandsLogWithOneBlankAndShowFour) {
  const struct {
    const BcsOperation* operation;
    std::vector<std::uint8_t> bytes;
    const char* label;
    const char* logLine;
  } cases[] = {
      {&kResetCt, {0x20, 0x11, 0x00, 0x00}, "2,1    20110000", "2,1 20110000\n"},
      {&kResetIcc, {0x20, 0x11, 0x01, 0x01}, "2,1    20110101", "2,1 20110101\n"},
      {&kIccStatus, {0x20, 0x13, 0x00, 0x80}, "2,1    20130080", "2,1 20130080\n"},
      {&kCtInfo, {0x20, 0x13, 0x00, 0x46}, "2,1    20130046", "2,1 20130046\n"},
  };
  CardParameters params;
  params.waitingTime = 9;
  params.acousticSignal = 1;
  for (const auto& c : cases) {
    const PreparedCommand command = Prepare(*c.operation, params);
    EXPECT_EQ(command.bytes, c.bytes) << c.operation->name;
    EXPECT_EQ(command.inputLabel, c.label);
    EXPECT_EQ(command.inputLabel, CommandNotation(command.bytes)) << "the label shows what is sent";
    EXPECT_EQ(command.logLine, c.logLine);
    EXPECT_FALSE(c.operation->LogsBeforeSending());
  }
}

TEST(CommandPreparation, RequestAndEjectCarryTheTimerAndLogTheirLabel) {
  const struct {
    const BcsOperation* operation;
    std::int32_t waitingTime;
    int signal;
    std::vector<std::uint8_t> bytes;
    const char* label;
  } cases[] = {
      {&kRequestIcc, 10, 0, {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x0A}, "2,1    201201010380010a"},
      {&kRequestIcc, 0, 1, {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x00}, "2,1    2012010103800100"},
      {&kRequestIcc, 255, 0, {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0xFF}, "2,1    20120101038001ff"},
      {&kEjectIcc, 5, 1, {0x20, 0x15, 0x01, 0x01, 0x03, 0x80, 0x01, 0x05}, "2,1    2015010103800105"},
      {&kEjectIcc, 5, 0, {0x20, 0x15, 0x01, 0x00, 0x03, 0x80, 0x01, 0x05}, "2,1    2015010003800105"},
      // Only the low byte of the waiting time is sent.
      {&kEjectIcc, 0x1FE, 7, {0x20, 0x15, 0x01, 0x01, 0x03, 0x80, 0x01, 0xFE}, "2,1    20150101038001fe"},
  };
  for (const auto& c : cases) {
    CardParameters params;
    params.waitingTime = c.waitingTime;
    params.acousticSignal = c.signal;
    const PreparedCommand command = Prepare(*c.operation, params);
    EXPECT_EQ(command.bytes, c.bytes) << c.operation->name << " " << c.waitingTime;
    EXPECT_EQ(command.inputLabel, c.label);
    EXPECT_EQ(command.logLine, std::string(c.label) + "\n");
    EXPECT_TRUE(c.operation->LogsBeforeSending());
  }
}

TEST(WaitingTimeEntry, DigitsAndBlanksUpTo255) {
  const struct {
    const char* text;
    WaitingTimeVerdict verdict;
    int seconds;
  } cases[] = {
      {"0", WaitingTimeVerdict::Accepted, 0},
      {" 7", WaitingTimeVerdict::Accepted, 7},
      {"1 2", WaitingTimeVerdict::Accepted, 1},
      {"0255", WaitingTimeVerdict::Accepted, 255},
      {"255 ", WaitingTimeVerdict::Accepted, 255},
      {"256", WaitingTimeVerdict::OutOfRange, 0},
      {"9999", WaitingTimeVerdict::OutOfRange, 0},
      {"", WaitingTimeVerdict::OutOfRange, 0},
      {"    ", WaitingTimeVerdict::OutOfRange, 0},
      {"12a", WaitingTimeVerdict::NotDecimal, 0},
      {"-1", WaitingTimeVerdict::NotDecimal, 0},
      {"+5", WaitingTimeVerdict::NotDecimal, 0},
      {"9999999999999", WaitingTimeVerdict::OutOfRange, 0},
  };
  for (const auto& c : cases) {
    const WaitingTimeEntry entry = ParseWaitingTime(c.text);
    EXPECT_EQ(entry.verdict, c.verdict) << '"' << c.text << '"';
    if (c.verdict == WaitingTimeVerdict::Accepted) {
      EXPECT_EQ(entry.seconds, c.seconds) << '"' << c.text << '"';
    }
  }
  EXPECT_EQ(RefusalText(WaitingTimeVerdict::NotDecimal), "Only decimal input allowed!");
  EXPECT_EQ(RefusalText(WaitingTimeVerdict::OutOfRange), "Only waiting time between 0 and 255 supported!");
}

TEST(CardParameters, ANewPanelResetsTheTextAndTheSignalButKeepsTheWaitingTime) {
  CardParameters params{"12", 12, 1, CardDirection::Removal};
  ResetForNewPanel(params);
  EXPECT_EQ(params.waitingTimeText, "0");
  EXPECT_EQ(params.acousticSignal, 0);
  EXPECT_EQ(params.waitingTime, 12);
}
