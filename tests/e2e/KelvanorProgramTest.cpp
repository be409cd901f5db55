// kelvanor.exe itself, started on the simulated terminal and driven from outside through its
// windows, real message boxes included.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

fs::path BinDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

template <class F>
auto WaitFor(F condition, int milliseconds = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  auto value = condition();
  while (!value && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    value = condition();
  }
  return value;
}

class Program {
 public:
  // Starts exe with the given current directory; the log goes there.
  Program(const fs::path& exe, const fs::path& directory) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string commandLine = "\"" + exe.string() + "\"";
    started_ = CreateProcessA(exe.string().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              directory.string().c_str(), &si, &info_);
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool Started() const { return started_; }
  // The exit code, or STILL_ACTIVE if it did not end in time.
  DWORD WaitForExit(DWORD milliseconds = 20000) const {
    WaitForSingleObject(info_.hProcess, milliseconds);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  DWORD ProcessId() const { return info_.dwProcessId; }

 private:
  bool started_ = false;
  PROCESS_INFORMATION info_{};
};

// A top-level window of the given class and caption that belongs to the program.
HWND FindProgramWindow(const Program& program, const char* className, const char* caption) {
  HWND found = nullptr;
  for (HWND w = FindWindowExA(nullptr, nullptr, className, caption); w;
       w = FindWindowExA(nullptr, w, className, caption)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == program.ProcessId() && IsWindowVisible(w)) found = w;
  }
  return found;
}

// WM_GETTEXT rather than GetWindowText, which does not ask controls of another process.
std::string Text(HWND w) {
  char buffer[512] = {};
  SendMessageA(w, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

std::string FileContents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class KelvanorProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / "kelvanor-program";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path dir_;
};

constexpr UINT kCtNumber = 40002, kLogFile = 40009, kExit = 40005, kTestCt = 40001;

}  // namespace

TEST_F(KelvanorProgramTest, StartsConfiguresLogsAndEnds) {
  Program program(BinDirectory() / "kelvanor.exe", dir_);
  ASSERT_TRUE(program.Started());
  HWND main = WaitFor([&] { return FindProgramWindow(program, "KelvanorFrame", "Test Tovamic "); });
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
  HWND main = WaitFor([&] { return FindProgramWindow(program, "KelvanorFrame", "Test Tovamic "); });
  ASSERT_NE(main, nullptr);
  const fs::path log = dir_ / "KELVAN.LOG";
  PostMessageA(main, WM_COMMAND, kLogFile, 0);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(log); }));

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
