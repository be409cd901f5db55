// The CT-BCS panel in kelvanor.exe on the simulated terminal, answered through real message boxes.
#include <gtest/gtest.h>

#include "tests/e2e/ProgramWindows.h"

namespace fs = std::filesystem;

namespace {

constexpr UINT kCtBcs = 40007, kLogFile = 40009, kExit = 40005;
constexpr int kCtInit = 1038, kCtClose = 1039, kResetCt = 1040, kResetIcc = 1041;

class BcsPanelProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / "kelvanor-bcs-program";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

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

  fs::path dir_;
};

}  // namespace

TEST_F(BcsPanelProgramTest, InitResetAndCloseTheTerminalWithTheirLog) {
  Program program(BinDirectory() / "kelvanor.exe", dir_);
  ASSERT_TRUE(program.Started());
  HWND main = WaitFor([&] { return FindProgramWindow(program, "KelvanorFrame", "Test Tovamic "); });
  ASSERT_NE(main, nullptr) << "the main window did not appear";
  const fs::path log = dir_ / "KELVAN.LOG";
  PostMessageA(main, WM_COMMAND, kLogFile, 0);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(log); }));

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
