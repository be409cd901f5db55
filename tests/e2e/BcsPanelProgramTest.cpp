// The CT-BCS panel in kelvanor.exe on the simulated terminal, answered through real message boxes.
#include <gtest/gtest.h>

#include "tests/e2e/ProgramTest.h"

namespace fs = std::filesystem;

namespace {

constexpr UINT kCtBcs = 40007, kExit = 40005;
constexpr int kCtInit = 1038, kCtClose = 1039, kResetCt = 1040, kResetIcc = 1041, kCtInfo = 1028,
              kIccStatus = 1030, kRequestIcc = 1031, kEjectIcc = 1032, kInputLabel = 1042;
constexpr int kWaitingTime = 1033, kAcousticSignal = 1035, kWaitingText = 1036;

class BcsPanelProgramTest : public ProgramTest {
 protected:
  // Clicks a panel button without waiting for it: its handler waits for the message box.
  static void Press(HWND panel, int id) {
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(panel, id)));
  }
  // The text of the message box that the last button brought up; OK closes it.
  std::string AnswerMessage(const Program& program) {
    HWND box = WaitFor([&] { return FindProgramWindow(program, "#32770", "Kelvanor"); });
    if (!box) return "(no message box)";
    const std::string text = Text(GetDlgItem(box, 0xFFFF));
    SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    WaitFor([&] { return !IsWindow(box); });
    return text;
  }

  // Fills in the parameter dialog that Request or Eject ICC brought up and confirms it; false
  // when it did not come. The check box is usable only for Eject ICC.
  bool AnswerCardParameters(const Program& program, const char* waitingTime, bool acousticSignal,
                            bool checkBoxUsable) {
    HWND dialog = WaitFor([&] { return FindProgramWindow(program, "#32770", "Request and Eject ICC"); });
    if (!dialog) return false;
    EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, kAcousticSignal)) != FALSE, checkBoxUsable);
    SendMessageA(GetDlgItem(dialog, kWaitingTime), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(waitingTime));
    if (checkBoxUsable)
      SendMessageA(GetDlgItem(dialog, kAcousticSignal), BM_SETCHECK,
                   acousticSignal ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    return WaitFor([&] { return !IsWindow(dialog); });
  }
};

// The static text of a window of another process whose thread may be blocked: GetWindowText asks
// the system, not the window.
std::string StoredText(HWND w) {
  char buffer[256] = {};
  GetWindowTextA(w, buffer, sizeof buffer);
  return buffer;
}

}  // namespace

TEST_F(BcsPanelProgramTest, InitResetAndCloseTheTerminalWithTheirLog) {
  Program program(BinDirectory() / "kelvanor.exe", dir_);
  ASSERT_TRUE(program.Started());
  HWND main = WaitForMainWindow(program);
  ASSERT_NE(main, nullptr) << "the main window did not appear";
  const fs::path log = dir_ / "KELVAN.LOG";
  ASSERT_TRUE(StartLog(main, dir_));

  PostMessageA(main, WM_COMMAND, kCtBcs, 0);
  HWND panel = WaitFor([&] { return FindProgramWindow(program, "#32770", "CT - BCS "); });
  ASSERT_NE(panel, nullptr) << "the panel did not open";
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, kResetCt)));

  Press(panel, kCtInit);
  EXPECT_EQ(AnswerMessage(program), "CT_init ok!");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, IDCANCEL)));
  Press(panel, kResetCt);
  EXPECT_EQ(AnswerMessage(program), "Reset successful.");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, kResetIcc)));
  EXPECT_EQ(Text(GetDlgItem(panel, 1042)), "2,1    20110000");
  Press(panel, kCtClose);
  EXPECT_EQ(AnswerMessage(program), "CT_close ok!");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, IDCANCEL)));

  SendMessageA(GetDlgItem(panel, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(panel); }));
  PostMessageA(main, WM_COMMAND, kExit, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_EQ(FileContents(log),
            "CT_init (CTn: 0, PTn: 0)\r\n>CT_init ok!\r\n"
            "2,1 20110000\r\n>Reset successful.\r\n"
            "CT_close (CTn: 0)\r\n>CT_close ok!\r\n");
}

// The whole course on a terminal whose card is taken out and put back by the simulation, so that
// Eject ICC and Request ICC really wait. A private copy of the program and driver reads the
// settings file beside it; the other tests keep the plain terminal.
TEST_F(BcsPanelProgramTest, WholeCourseWithWaitsForTheCard) {
  for (const char* file : {"kelvanor.exe", "ZEMTRAK.DLL"}) fs::copy_file(BinDirectory() / file, dir_ / file);
  std::ofstream(dir_ / "ZEMTRAK.INI", std::ios::binary)
      << "[Card]\r\nInserted=1\r\nType=async\r\nInsertAfterMs=2500\r\nRemoveAfterMs=2500\r\n"
         "[Terminal]\r\nManufacturer=DEZMTAB   01.00\r\n[Window]\r\nShow=0\r\n";
  Program program(dir_ / "kelvanor.exe", dir_);
  ASSERT_TRUE(program.Started());
  HWND main = WaitForMainWindow(program);
  ASSERT_NE(main, nullptr) << "the main window did not appear";
  const fs::path log = dir_ / "KELVAN.LOG";
  ASSERT_TRUE(StartLog(main, dir_));
  PostMessageA(main, WM_COMMAND, kCtBcs, 0);
  HWND panel = WaitFor([&] { return FindProgramWindow(program, "#32770", "CT - BCS "); });
  ASSERT_NE(panel, nullptr) << "the panel did not open";
  auto enabled = [&](int id) { return IsWindowEnabled(GetDlgItem(panel, id)) != FALSE; };
  const std::string atr = "3B 68 00 00 80 4B 4C 56 53 49 4D 01 ";

  Press(panel, kCtInit);
  EXPECT_EQ(AnswerMessage(program), "CT_init ok!");
  EXPECT_TRUE(enabled(kCtInfo));
  EXPECT_FALSE(enabled(kIccStatus));
  Press(panel, kResetCt);
  EXPECT_EQ(AnswerMessage(program), "Reset successful.");
  for (int id : {kResetIcc, kRequestIcc, kEjectIcc, kIccStatus}) EXPECT_TRUE(enabled(id)) << id;

  // A two-letter type: its blanks stay in the log, not in the box.
  Press(panel, kCtInfo);
  EXPECT_EQ(AnswerMessage(program),
            "Country code:\tDE\nManufacturer:\tZMT\nCT Type:\t\tAB\nCT SW Version:\t01.00");
  EXPECT_EQ(Text(GetDlgItem(panel, kInputLabel)), "2,1    20130046");

  Press(panel, kResetIcc);
  EXPECT_EQ(AnswerMessage(program), "Asynchronous ICC, reset successful.\nATR:\n" + atr);
  Press(panel, kIccStatus);
  EXPECT_EQ(AnswerMessage(program), "ICC electrically connected.");

  // Eject ICC waits until the card is taken out; its log line is there before the answer.
  Press(panel, kEjectIcc);
  ASSERT_TRUE(AnswerCardParameters(program, "5", true, true));
  HWND waiting = WaitFor([&] { return FindProgramWindow(program, "#32770", "Waiting for SmartCard"); });
  ASSERT_NE(waiting, nullptr) << "no waiting window during Eject ICC";
  EXPECT_EQ(StoredText(GetDlgItem(waiting, kWaitingText)), "Waiting for smart card removal...");
  EXPECT_FALSE(IsWindowEnabled(main)) << "the owner is disabled while the terminal waits";
  EXPECT_NE(FileContents(log).find("2,1    2015010103800105\r\n"), std::string::npos);
  EXPECT_EQ(AnswerMessage(program), "Command successful, Card removed.");
  EXPECT_FALSE(IsWindow(waiting));
  EXPECT_TRUE(IsWindowEnabled(main));
  Press(panel, kIccStatus);
  EXPECT_EQ(AnswerMessage(program), "No ICC inserted.");

  // Request ICC waits until the card is put in, then resets it.
  Press(panel, kRequestIcc);
  ASSERT_TRUE(AnswerCardParameters(program, "5", false, false));
  waiting = WaitFor([&] { return FindProgramWindow(program, "#32770", "Waiting for SmartCard"); });
  ASSERT_NE(waiting, nullptr) << "no waiting window during Request ICC";
  EXPECT_EQ(StoredText(GetDlgItem(waiting, kWaitingText)), "Waiting for smart card insertion...");
  EXPECT_EQ(AnswerMessage(program), "Asynchronous ICC presented, reset successful.\nATR:\n" + atr);
  EXPECT_EQ(Text(GetDlgItem(panel, kInputLabel)), "2,1    2012010103800105");

  // No waiting time: no waiting window, and the check box comes back unchecked after Request ICC.
  Press(panel, kEjectIcc);
  HWND parameters = WaitFor([&] { return FindProgramWindow(program, "#32770", "Request and Eject ICC"); });
  ASSERT_NE(parameters, nullptr);
  EXPECT_EQ(SendMessageA(GetDlgItem(parameters, kAcousticSignal), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ASSERT_TRUE(AnswerCardParameters(program, "0", false, true));
  EXPECT_EQ(AnswerMessage(program), "Command successful.");

  Press(panel, kCtClose);
  EXPECT_EQ(AnswerMessage(program), "CT_close ok!");
  SendMessageA(GetDlgItem(panel, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(panel); }));
  PostMessageA(main, WM_COMMAND, kExit, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_EQ(FileContents(log),
            "CT_init (CTn: 0, PTn: 0)\r\n>CT_init ok!\r\n"
            "2,1 20110000\r\n>Reset successful.\r\n"
            "2,1 20130046\r\n>Country code:  DE\r\nManufacturer:   ZMT\r\nCT Type:      AB   \r\n"
            "CT SW Version: 01.00\r\n"
            "2,1 20110101\r\n>" +
                atr +
                "90 01 \r\n"
                "2,1 20130080\r\n>ICC electrically connected.\r\n"
                "2,1    2015010103800105\r\n>Command successful, Card removed.\r\n"
                "2,1 20130080\r\n>No ICC inserted.\r\n"
                "2,1    2012010103800105\r\n>" +
                atr +
                "90 01 \r\n"
                "2,1    2015010003800100\r\n>Command successful.\r\n"
                "CT_close (CTn: 0)\r\n>CT_close ok!\r\n");
}
