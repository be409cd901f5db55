#include <gtest/gtest.h>

#include <vector>

#include "sim/zemtrak/TerminalSim.h"

namespace {

struct Answer {
  int rc;
  std::vector<std::uint8_t> bytes;
  std::uint8_t dad, sad;
  std::uint16_t lenr;
};

Answer Send(sim::TerminalSim& t, std::uint16_t ctn, std::vector<std::uint8_t> command,
            std::uint16_t capacity = 256) {
  std::uint8_t dad = 1, sad = 2;
  std::uint16_t lenr = capacity;
  std::vector<std::uint8_t> response(capacity);
  const int rc = t.Data(ctn, &dad, &sad, static_cast<std::uint16_t>(command.size()), command.data(), &lenr,
                        response.data());
  response.resize(std::min<std::size_t>(lenr, capacity));
  return {rc, response, dad, sad, lenr};
}

}  // namespace

TEST(TerminalSim, OpenCloseRulesPerTerminalNumber) {
  sim::TerminalSim t;
  EXPECT_EQ(t.Close(0), -1) << "close of a terminal never opened";
  EXPECT_EQ(Send(t, 0, {0x20, 0x11, 0x00, 0x00}).rc, -1) << "data on a closed terminal";
  EXPECT_EQ(t.Init(0, 0), 0);
  EXPECT_EQ(t.Init(0, 3), -1) << "second init of the same terminal";
  EXPECT_EQ(t.Init(1, 0), 0) << "another terminal number is independent";
  EXPECT_EQ(t.Close(0), 0);
  EXPECT_EQ(t.Close(0), -1);
  EXPECT_EQ(t.Init(0, 0), 0) << "open again after close";
}

TEST(TerminalSim, AnswersResetCtAndRejectsUnknownCommands) {
  sim::TerminalSim t;
  ASSERT_EQ(t.Init(5, 0), 0);
  const struct {
    std::vector<std::uint8_t> command;
    std::vector<std::uint8_t> answer;
  } cases[] = {
      {{0x20, 0x11, 0x00, 0x00}, {0x90, 0x00}},
      {{0x20, 0x10, 0x00, 0x00, 0x00}, {0x90, 0x00}},
      {{0x20, 0x10, 0x00, 0x00}, {0x6D, 0x00}},
      {{0x00, 0xA4, 0x00, 0x00}, {0x6D, 0x00}},
      {{}, {0x6D, 0x00}},
  };
  for (const auto& c : cases) {
    const Answer a = Send(t, 5, c.command);
    EXPECT_EQ(a.rc, 0);
    EXPECT_EQ(a.bytes, c.answer);
    EXPECT_EQ(a.sad, 1) << "answer comes from the terminal";
    EXPECT_EQ(a.dad, 2) << "to the host";
  }
}

TEST(TerminalSim, ResponseBufferTooSmallIsAMemoryError) {
  sim::TerminalSim t;
  ASSERT_EQ(t.Init(0, 0), 0);
  EXPECT_EQ(Send(t, 0, {0x20, 0x11, 0x00, 0x00}, 1).rc, -11);
}

TEST(TerminalSim, ScriptedAnswersComeFirstInOrderEvenOnAClosedTerminal) {
  sim::TerminalSim t;
  t.QueueAnswer({-10, {}, std::nullopt, std::nullopt, std::nullopt});
  t.QueueAnswer({0, {0x61}, 7, 9, 3000});
  t.QueueAnswer({0, {0x90, 0x00, 0x11}, std::nullopt, std::nullopt, std::nullopt});
  EXPECT_EQ(Send(t, 0, {0x20}).rc, -10);

  const Answer second = Send(t, 0, {0x20}, 8);
  EXPECT_EQ(second.rc, 0);
  EXPECT_EQ(second.lenr, 3000) << "the reported length is what was scripted, even past the capacity";
  EXPECT_EQ(second.dad, 7);
  EXPECT_EQ(second.sad, 9);

  const Answer third = Send(t, 0, {0x20}, 2);
  EXPECT_EQ(third.bytes, (std::vector<std::uint8_t>{0x90, 0x00})) << "never more than the capacity is copied";
  EXPECT_EQ(third.dad, 1) << "addresses untouched when not scripted";

  EXPECT_EQ(Send(t, 0, {0x20}).rc, -1) << "script used up: the simulation answers again";
}

TEST(TerminalSim, RecordsTheLastCommand) {
  sim::TerminalSim t;
  EXPECT_FALSE(t.LastCommand().has_value());
  ASSERT_EQ(t.Init(3, 0), 0);
  Send(t, 3, {0x20, 0x11, 0x00, 0x00}, 100);
  ASSERT_TRUE(t.LastCommand().has_value());
  EXPECT_EQ(t.LastCommand()->ctn, 3);
  EXPECT_EQ(t.LastCommand()->dad, 1);
  EXPECT_EQ(t.LastCommand()->sad, 2);
  EXPECT_EQ(t.LastCommand()->capacity, 100);
  EXPECT_EQ(t.LastCommand()->bytes, (std::vector<std::uint8_t>{0x20, 0x11, 0x00, 0x00}));
}

TEST(TerminalSim, VersionTextFitsOrFillsTheBuffer) {
  sim::TerminalSim t;
  char buffer[120];
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  t.Version(buffer, 3);
  EXPECT_EQ(std::string(buffer), sim::DefaultVersionText());

  t.SetVersionText(std::string(200, 'V'));
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  t.Version(buffer, 3);
  EXPECT_EQ(std::string(buffer, 120), std::string(120, 'V')) << "120 bytes and no NUL";

  t.Reset();
  t.Version(buffer, 3);
  EXPECT_EQ(std::string(buffer), sim::DefaultVersionText());
}
