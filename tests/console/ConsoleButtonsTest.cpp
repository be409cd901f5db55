#include <gtest/gtest.h>

#include <string>

#include "console/ConsoleButtons.h"

namespace {

// The buttons' enabled states as a string, one letter per button in ConsoleButton order, so a
// course of events reads as a table: "1" enabled, "0" disabled.
class Buttons {
 public:
  Buttons& After(ConsoleEvent event, bool fileChosen = false) {
    const auto changes = ButtonChanges(event, fileChosen);
    for (int i = 0; i < kConsoleButtonCount; ++i) {
      if (changes[i] == ButtonChange::Enable) state_[i] = '1';
      if (changes[i] == ButtonChange::Disable) state_[i] = '0';
    }
    return *this;
  }
  const std::string& State() const { return state_; }

 private:
  std::string state_ = "?????????";
};

}  // namespace

//                 CtInit CtClose CtData ResetCt ResetIcc OpenFile ModifyList NextCommand Close
TEST(ConsoleButtons, UsualCourse) {
  Buttons b;
  EXPECT_EQ(b.After(ConsoleEvent::Opened).State(), "100000001");
  EXPECT_EQ(b.After(ConsoleEvent::InitSucceeded).State(), "010100000");
  EXPECT_EQ(b.After(ConsoleEvent::ResetCtSucceeded).State(), "011111100");
  EXPECT_EQ(b.After(ConsoleEvent::DataSending).State(), "000001100");
  EXPECT_EQ(b.After(ConsoleEvent::DataDone).State(), "011111100");
  EXPECT_EQ(b.After(ConsoleEvent::FileLoaded).State(), "011111110");
  EXPECT_EQ(b.After(ConsoleEvent::CloseFailed).State(), "011111111");
  EXPECT_EQ(b.After(ConsoleEvent::CloseSucceeded).State(), "100000001");
}

TEST(ConsoleButtons, NextCommandAfterResetCtOnlyWithAChosenFile) {
  Buttons without;
  without.After(ConsoleEvent::Opened).After(ConsoleEvent::InitSucceeded);
  EXPECT_EQ(without.After(ConsoleEvent::ResetCtSucceeded, false).State(), "011111100");
  Buttons with;
  with.After(ConsoleEvent::Opened).After(ConsoleEvent::InitSucceeded);
  EXPECT_EQ(with.After(ConsoleEvent::ResetCtSucceeded, true).State(), "011111110");
}

TEST(ConsoleButtons, ResetIccAndEditor) {
  Buttons b;
  b.After(ConsoleEvent::Opened).After(ConsoleEvent::InitSucceeded);
  EXPECT_EQ(b.After(ConsoleEvent::ResetIccSucceeded).State(), "011101000");
  EXPECT_EQ(b.After(ConsoleEvent::EditorClosed).State(), "011101010");
}
