#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "console/ConsoleExchange.h"
#include "console/ListEntries.h"
#include "session/LastExchange.h"

namespace {

// A driver that answers with what the test sets up and writes the terminal's addresses back.
struct FakeTerminal {
  static inline int rc = 0;
  static inline std::vector<std::uint8_t> answer;
  static inline int reportedLength = -1;  // -1: the answer's size

  static signed char CTAPI_CALL Data(unsigned short, unsigned char* dad, unsigned char* sad, unsigned short,
                                     unsigned char*, unsigned short* lenr, unsigned char* response) {
    std::memcpy(response, answer.data(), std::min<std::size_t>(answer.size(), *lenr));
    *lenr = static_cast<unsigned short>(reportedLength < 0 ? answer.size() : reportedLength);
    *dad = 2;
    *sad = 1;
    return static_cast<signed char>(rc);
  }
  static CtDriver Driver() { return {nullptr, nullptr, &Data, nullptr}; }
};

class ConsoleExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeTerminal::rc = 0;
    FakeTerminal::answer = {0x90, 0x00};
    FakeTerminal::reportedLength = -1;
    state_.addresses = {2, 1};
  }
  int Send() { return SendConsoleCommand(state_, FakeTerminal::Driver(), 0, command_); }

  ConsoleState state_;
  const std::uint8_t command_[4] = {0x20, 0x11, 0x00, 0x00};
};

}  // namespace

TEST_F(ConsoleExchangeTest, SuccessStoresAndFormatsTheResponse) {
  EXPECT_EQ(Send(), 0);
  EXPECT_EQ(state_.responseLength, 2);
  EXPECT_EQ(state_.addresses.source, 1);
  EXPECT_EQ(state_.addresses.destination, 2);
  EXPECT_EQ(state_.displayText, "1,2    90 00 ");
  EXPECT_EQ(state_.logText, "#1,2 9000\n");
}

TEST_F(ConsoleExchangeTest, FailureKeepsTheEarlierResponse) {
  Send();
  state_.scrollPosition = 1;
  FakeTerminal::rc = -8;
  FakeTerminal::answer = {0x6D, 0x00, 0x11};
  EXPECT_EQ(Send(), -8);
  EXPECT_EQ(state_.responseLength, 2);
  EXPECT_EQ(state_.response[0], 0x90);
  EXPECT_EQ(state_.displayText, "1,2    90 00 ");
  EXPECT_EQ(state_.scrollPosition, 1);
}

TEST_F(ConsoleExchangeTest, EmptyAnswerBuildsNoNewTexts) {
  Send();
  FakeTerminal::answer = {};
  EXPECT_EQ(Send(), 0);
  EXPECT_EQ(state_.responseLength, 0);
  EXPECT_EQ(state_.logText, "#1,2 9000\n");
  state_.displayMode = DisplayMode::Ascii;
  EXPECT_FALSE(RebuildResponseTexts(state_));
}

TEST_F(ConsoleExchangeTest, ReportedLengthBeyondTheBufferIsCut) {
  FakeTerminal::answer.assign(4096, 0x41);
  FakeTerminal::reportedLength = 65535;
  EXPECT_EQ(Send(), 0);
  EXPECT_EQ(state_.responseLength, 4096);
  EXPECT_EQ(state_.displayText.size(), 7u + 3 * 4096);
  EXPECT_EQ(state_.lineCount, 152);
}

TEST_F(ConsoleExchangeTest, LongResponseResetsTheScrollPositionShortOneKeepsIt) {
  state_.scrollPosition = 2;
  FakeTerminal::answer.assign(60, 0x41);
  Send();
  EXPECT_EQ(state_.lineCount, 3);
  EXPECT_EQ(state_.scrollPosition, 0);
  state_.scrollPosition = 2;
  FakeTerminal::answer = {0x90, 0x00};
  Send();
  EXPECT_EQ(state_.lineCount, 1);
  EXPECT_EQ(state_.scrollPosition, 2);
}

TEST_F(ConsoleExchangeTest, EveryCallIsRecordedWithTheAddressesAsSent) {
  FakeTerminal::answer = {0x3B, 0x90, 0x00};
  Send();
  ASSERT_TRUE(Exchanges().Last());
  const Exchange& done = *Exchanges().Last();
  EXPECT_EQ(done.panel, ExchangePanel::TestConsole);
  EXPECT_EQ(done.dad, 1) << "not the driver's 2 written back";
  EXPECT_EQ(done.sad, 2);
  EXPECT_EQ(done.answeredBy, 1) << "the driver's source address";
  EXPECT_EQ(done.command, std::vector<std::uint8_t>(command_, command_ + 4));
  EXPECT_EQ(done.rc, 0);
  EXPECT_EQ(done.response, (std::vector<std::uint8_t>{0x3B, 0x90, 0x00}));

  // A failed call is recorded too, without the bytes a failing driver may leave behind.
  FakeTerminal::rc = -10;
  Send();
  EXPECT_EQ(Exchanges().Last()->rc, -10);
  EXPECT_TRUE(Exchanges().Last()->response.empty());
}

TEST(ConsoleState, NewConsoleKeepsTextsAddressesAndResponse) {
  ConsoleState state;
  CommandLists lists;
  lists.commands[3] = "2,1 20110000";
  lists.commandCount = lists.descriptionCount = 4;
  lists.commandSelection = lists.descriptionSelection = 3;
  state.commandEdited = state.fileChosen = true;
  state.addresses = {1, 2};
  state.response[0] = 0x90;
  state.responseLength = 2;
  state.displayMode = DisplayMode::Ascii;
  state.lineCount = state.scrollPosition = 3;
  state.displayText = "old";

  ResetForNewConsole(state, lists);
  EXPECT_EQ(lists.commandCount, 0);
  EXPECT_EQ(lists.descriptionCount, 0);
  EXPECT_EQ(lists.commandSelection, 0);
  EXPECT_EQ(lists.descriptionSelection, 0);
  EXPECT_EQ(lists.commands[3], "2,1 20110000");
  EXPECT_FALSE(state.commandEdited);
  EXPECT_FALSE(state.fileChosen);
  EXPECT_EQ(state.addresses.source, 1);
  EXPECT_EQ(state.response[0], 0x90);
  EXPECT_EQ(state.responseLength, 0);
  EXPECT_EQ(state.displayMode, DisplayMode::Hex);
  EXPECT_EQ(state.lineCount, 0);
  EXPECT_EQ(state.scrollPosition, 0);
  EXPECT_EQ(state.displayText, "");
}

TEST(ListEntries, DisplayFormAndNextSelection) {
  EXPECT_EQ(DisplayFormEntry(3, "2,1 2010000000"), "0003 : 2,1 2010000000");
  EXPECT_EQ(DisplayFormEntry(12345, ""), "12345 : ");
  const std::string longText(5000, 'a');
  EXPECT_EQ(DisplayFormEntry(99, longText), "0099 : " + longText);

  const struct {
    std::int16_t selection, count, next;
    bool wrapped;
  } cases[] = {{0, 3, 1, false}, {1, 3, 2, false}, {2, 3, 0, true}, {0, 1, 0, true}, {0, 0, 0, true}};
  for (const auto& c : cases) {
    std::int16_t selection = c.selection;
    EXPECT_EQ(AdvanceSelection(selection, c.count), c.wrapped) << c.selection << "/" << c.count;
    EXPECT_EQ(selection, c.next);
  }
}
