// The simulated driver as a whole: settings at each CT_init, ports, scripted answers first.
#include <gtest/gtest.h>

#include <vector>

#include "sim/zemtrak/TerminalSim.h"

namespace {

using namespace std::chrono_literals;

struct Answer {
  int rc;
  std::vector<std::uint8_t> bytes;
  std::uint8_t dad, sad;
  std::uint16_t lenr;
};

Answer Send(sim::TerminalSim& t, std::uint16_t ctn, std::vector<std::uint8_t> command,
            std::uint16_t capacity = 256, std::uint8_t dad = 1) {
  std::uint8_t sad = 2;
  std::uint16_t lenr = capacity;
  std::vector<std::uint8_t> response(capacity);
  const int rc = t.Data(ctn, &dad, &sad, static_cast<std::uint16_t>(command.size()), command.data(), &lenr,
                        response.data());
  response.resize(std::min<std::size_t>(lenr, capacity));
  return {rc, response, dad, sad, lenr};
}

const std::vector<std::uint8_t> kIccStatus{0x20, 0x13, 0x00, 0x80};

// A driver whose settings file is the string ini (none while it is unset).
struct Driver {
  std::optional<std::string> ini;
  sim::ManualClock* clock = new sim::ManualClock;
  sim::TerminalSim t{[this] { return ini; }, std::unique_ptr<sim::Clock>(clock)};
};

TEST(TerminalSim, WithoutSettingsAnAsynchronousCardIsInsertedNotActivated) {
  sim::TerminalSim t;
  ASSERT_EQ(t.Init(0, 0), 0);
  EXPECT_EQ(Send(t, 0, kIccStatus).bytes, (std::vector<std::uint8_t>{0x03, 0x90, 0x00}));
  const Answer reset = Send(t, 0, {0x20, 0x10, 0x01, 0x01, 0x00});
  ASSERT_GE(reset.bytes.size(), 2u);
  EXPECT_EQ(reset.bytes[reset.bytes.size() - 1], 0x01) << "90 01: asynchronous";
  const Answer info = Send(t, 0, {0x20, 0x13, 0x00, 0x46});
  EXPECT_EQ(std::string(info.bytes.begin(), info.bytes.end() - 2), sim::Settings::kDefaultManufacturer);
}

TEST(TerminalSim, PortZeroAndTheSettingsPortReachTheTerminal) {
  Driver d;
  EXPECT_EQ(d.t.Init(1, 0), 0);
  EXPECT_EQ(d.t.Init(2, 1), 0) << "default port 1";
  EXPECT_EQ(d.t.Init(3, 2), -8);
  d.ini = "[Terminal]\nPort=3\n";
  EXPECT_EQ(d.t.Init(4, 1), -8) << "settings read again at CT_init";
  EXPECT_EQ(d.t.Init(4, 3), 0);
  EXPECT_EQ(d.t.Init(4, 3), -1) << "already open";
  EXPECT_EQ(d.t.Close(4), 0);
  EXPECT_EQ(d.t.Close(4), -1);
}

TEST(TerminalSim, StartingCardFollowsTheSettingsWhenTheyChange) {
  Driver d;
  d.ini = "[Card]\nInserted=0\n";
  ASSERT_EQ(d.t.Init(0, 0), 0);
  EXPECT_EQ(Send(d.t, 0, kIccStatus).bytes[0], 0x00);
  EXPECT_EQ(Send(d.t, 0, {0x20, 0x11, 0x01, 0x01}).bytes, (std::vector<std::uint8_t>{0x64, 0xA1}));
  ASSERT_EQ(d.t.Close(0), 0);

  d.ini = "[Card]\nType=sync\n";
  ASSERT_EQ(d.t.Init(0, 0), 0);
  const Answer reset = Send(d.t, 0, {0x20, 0x11, 0x01, 0x01});
  EXPECT_EQ(reset.bytes, (std::vector<std::uint8_t>{0xA2, 0x13, 0x10, 0x91, 0x90, 0x00}));
  EXPECT_EQ(Send(d.t, 0, kIccStatus).bytes[0], 0x05);
  ASSERT_EQ(d.t.Close(0), 0);

  d.t.Slot().Remove();  // a person takes the card out between sessions
  ASSERT_EQ(d.t.Init(0, 0), 0);
  EXPECT_EQ(Send(d.t, 0, kIccStatus).bytes[0], 0x00) << "unchanged settings do not put it back";
}

TEST(TerminalSim, AutomaticInsertionAndRemovalFromTheSettings) {
  Driver d;
  d.ini = "[Card]\nInserted=0\nInsertAfterMs=700\nRemoveAfterMs=300\n";
  ASSERT_EQ(d.t.Init(0, 0), 0);
  EXPECT_EQ(Send(d.t, 0, {0x20, 0x12, 0x01, 0x00, 0x03, 0x80, 0x01, 0x02}).bytes,
            (std::vector<std::uint8_t>{0x90, 0x01}));
  EXPECT_EQ(d.clock->Now(), 700ms);
  EXPECT_EQ(Send(d.t, 0, {0x20, 0x15, 0x01, 0x00, 0x03, 0x80, 0x01, 0x02}).bytes,
            (std::vector<std::uint8_t>{0x90, 0x01}));
  EXPECT_EQ(d.clock->Now(), 1000ms);
  EXPECT_EQ(Send(d.t, 0, kIccStatus).bytes[0], 0x00);
}

TEST(TerminalSim, StatusObjectsFromTheSettings) {
  Driver d;
  d.ini = "[Terminal]\nStatusObjects=1\nManufacturer=DEABCTYPE1V1.00\n";
  ASSERT_EQ(d.t.Init(0, 0), 0);
  EXPECT_EQ(Send(d.t, 0, kIccStatus).bytes, (std::vector<std::uint8_t>{0x80, 0x01, 0x03, 0x90, 0x00}));
  const Answer info = Send(d.t, 0, {0x20, 0x13, 0x00, 0x46});
  EXPECT_EQ(std::string(info.bytes.begin() + 2, info.bytes.end() - 2), "DEABCTYPE1V1.00");
}

TEST(TerminalSim, ClosingAllSessionsLetsANewClientIn) {
  sim::TerminalSim t;
  ASSERT_EQ(t.Init(0, 0), 0);
  ASSERT_EQ(t.Init(0, 0), -1) << "a session left open";
  EXPECT_EQ(t.OpenSessions(), 1u);
  EXPECT_TRUE(t.CloseAllSessions());
  EXPECT_EQ(t.OpenSessions(), 0u);
  EXPECT_EQ(t.Init(0, 0), 0);
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

  EXPECT_EQ(Send(t, 0, {0x20, 0x11, 0x00, 0x00}).rc, -1) << "script used up: the simulation answers again";
}

TEST(TerminalSim, ScriptedAnswersOverrideAnOpenTerminal) {
  sim::TerminalSim t;
  ASSERT_EQ(t.Init(0, 0), 0);
  t.QueueAnswer({0, {0x64, 0x00}, std::nullopt, std::nullopt, std::nullopt});
  EXPECT_EQ(Send(t, 0, {0x20, 0x11, 0x00, 0x00}).bytes, (std::vector<std::uint8_t>{0x64, 0x00}));
  EXPECT_EQ(Send(t, 0, {0x20, 0x11, 0x00, 0x00}).bytes, (std::vector<std::uint8_t>{0x90, 0x00}));
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
  EXPECT_EQ(t.Version(nullptr, 0), -1);
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  EXPECT_EQ(t.Version(buffer, 3), 0);
  EXPECT_EQ(std::string(buffer), sim::DefaultVersionText());

  t.SetVersionText(std::string(200, 'V'));
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  t.Version(buffer, 3);
  EXPECT_EQ(std::string(buffer, 120), std::string(120, 'V')) << "120 bytes and no NUL";

  t.Reset();
  t.Version(buffer, 3);
  EXPECT_EQ(std::string(buffer), sim::DefaultVersionText());
}

TEST(TerminalSim, ResetForgetsSessionsAndCardContents) {
  sim::TerminalSim t;
  ASSERT_EQ(t.Init(0, 0), 0);
  Send(t, 0, {0x20, 0x11, 0x01, 0x01});
  Send(t, 0, {0x00, 0xA4, 0x00, 0x00, 0x02, 0x2F, 0x01}, 256, 0);
  Send(t, 0, {0x00, 0x20, 0x00, 0x01, 0x04, '1', '2', '3', '4'}, 256, 0);
  EXPECT_EQ(Send(t, 0, {0x00, 0xD6, 0x00, 0x00, 0x01, 0x55}, 256, 0).bytes,
            (std::vector<std::uint8_t>{0x90, 0x00}));
  t.Reset();
  EXPECT_EQ(t.Close(0), -1);
  ASSERT_EQ(t.Init(0, 0), 0);
  Send(t, 0, {0x20, 0x11, 0x01, 0x01});
  Send(t, 0, {0x00, 0xA4, 0x00, 0x00, 0x02, 0x2F, 0x01}, 256, 0);
  EXPECT_EQ(Send(t, 0, {0x00, 0xB0, 0x00, 0x00, 0x01}, 256, 0).bytes,
            (std::vector<std::uint8_t>{'K', 0x90, 0x00}));
}

}  // namespace
