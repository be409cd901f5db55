// kelvanor.exe itself, started on the simulated terminal and driven from outside through its
// windows, real message boxes included.
#include <gtest/gtest.h>

#include "tests/e2e/ProgramTest.h"

namespace fs = std::filesystem;

namespace {

class KelvanorProgramTest : public ProgramTest {};

constexpr UINT kCtNumber = 40002, kLogFile = 40009, kExit = 40005, kTestCt = 40001;

}  // namespace

TEST_F(KelvanorProgramTest, StartsConfiguresLogsAndEnds) {
  Program program(BinDirectory() / "kelvanor.exe", dir_);
  ASSERT_TRUE(program.Started());
  HWND main = WaitForMainWindow(program);
  ASSERT_NE(main, nullptr) << "the main window did not appear";

  // CT Number: a refused value stays put, an accepted one closes the dialog.
  PostMessageA(main, WM_COMMAND, kCtNumber, 0);
  HWND ct = WaitFor([&] { return FindProgramWindow(program, "#32770", "CT Number"); });
  ASSERT_NE(ct, nullptr);
  HWND field = GetDlgItem(ct, 1049);
  EXPECT_EQ(Text(field), "0");
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("99999"));
  SendMessageA(GetDlgItem(ct, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsWindow(ct));
  EXPECT_EQ(Text(field), "0");
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12"));
  SendMessageA(GetDlgItem(ct, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(ct); }));

  // The log: created without a question, then continued after a real Yes.
  const fs::path log = dir_ / "KELVAN.LOG";
  PostMessageA(main, WM_COMMAND, kLogFile, 0);
  EXPECT_TRUE(WaitFor([&] { return fs::exists(log); }));
  PostMessageA(main, WM_COMMAND, kLogFile, 0);
  PostMessageA(main, WM_COMMAND, kLogFile, 0);
  HWND box = WaitFor([&] { return FindProgramWindow(program, "#32770", "Kelvanor"); });
  ASSERT_NE(box, nullptr) << "no question about the existing log";
  EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)), "Continue the existing file KELVAN.LOG?");
  EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
  EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
  SendMessageA(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));

  // Exit with the log open: no question, the program ends cleanly.
  PostMessageA(main, WM_COMMAND, kExit, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_EQ(FindProgramWindow(program, "#32770", "Kelvanor"), nullptr);
  EXPECT_TRUE(fs::exists(log));
  EXPECT_EQ(FileContents(log), "") << "nothing has written to it yet";
}

// The usual course through the test console, with the log on.
TEST_F(KelvanorProgramTest, ConsoleCourseAgainstTheSimulatedTerminal) {
  Program program(BinDirectory() / "kelvanor.exe", dir_);
  ASSERT_TRUE(program.Started());
  HWND main = WaitForMainWindow(program);
  ASSERT_NE(main, nullptr);
  const fs::path log = dir_ / "KELVAN.LOG";
  ASSERT_TRUE(StartLog(main, dir_));

  PostMessageA(main, WM_COMMAND, kTestCt, 0);
  HWND console = WaitFor([&] { return FindProgramWindow(program, "#32770", "Test Tovamic"); });
  ASSERT_NE(console, nullptr);
  auto click = [&](int id) {
    HWND button = GetDlgItem(console, id);
    ASSERT_TRUE(IsWindowEnabled(button)) << id;
    SendMessageA(button, BM_CLICK, 0, 0);
  };
  constexpr int kCtInit = 1000, kCtData = 1001, kCtClose = 1004, kResetCt = 1014, kCommands = 1008;
  HWND output = GetDlgItem(console, 1007);

  click(kCtInit);
  EXPECT_EQ(Text(output), "CT_init ok");
  click(kResetCt);
  EXPECT_EQ(Text(output), "1,2    90 00 ");
  HWND commandField = FindWindowExA(GetDlgItem(console, kCommands), nullptr, "Edit", nullptr);
  ASSERT_NE(commandField, nullptr);
  SendMessageA(commandField, EM_SETSEL, 0, -1);
  SendMessageA(commandField, WM_CHAR, VK_BACK, 0);
  for (char c : std::string("2,1 20110000")) SendMessageA(commandField, WM_CHAR, c, 0);
  click(kCtData);
  EXPECT_EQ(Text(output), "1,2    90 00 ");
  click(kCtClose);
  EXPECT_EQ(Text(output), "CT_close ok");
  click(IDCANCEL);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(console); }));

  PostMessageA(main, WM_COMMAND, kExit, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_EQ(FileContents(log),
            "CT_init (CTn: 0, PTn: 0)\r\n>CT_init ok\r\n"
            "2,1 2010000000\r\n#1,2 9000\r\n"
            "2,1 20110000\r\n#1,2 9000\r\n"
            "CT_close (CTn: 0)\r\n>CT_close ok\r\n");
}

TEST_F(KelvanorProgramTest, DoesNotStartWithoutTheDriver) {
  fs::copy_file(BinDirectory() / "kelvanor.exe", dir_ / "kelvanor.exe");
  Program program(dir_ / "kelvanor.exe", dir_);
  if (!program.Started()) {
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    return;
  }
  const DWORD code = program.WaitForExit();
  EXPECT_EQ(code, 0xC0000135u) << "the loader refuses the program: the driver is missing";
}
