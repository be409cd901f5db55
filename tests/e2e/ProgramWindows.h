#pragma once
// Starting kelvanor.exe and finding and reading its windows from another process.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

inline std::filesystem::path BinDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
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
  Program(const std::filesystem::path& exe, const std::filesystem::path& directory) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string commandLine = "\"" + exe.string() + "\"";
    started_ = CreateProcessA(exe.string().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              directory.string().c_str(), &si, &info_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
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

// A visible top-level window of the given class and caption that belongs to the program.
inline HWND FindProgramWindow(const Program& program, const char* className, const char* caption) {
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
inline std::string Text(HWND w) {
  char buffer[512] = {};
  SendMessageA(w, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

inline std::string FileContents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Types text into an edit field of another process as the keyboard would, replacing what it held.
inline void Type(HWND edit, const std::string& text) {
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_CHAR, VK_BACK, 0);
  for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

// The edit field inside a drop-down combo box.
inline HWND ComboEdit(HWND combo) { return FindWindowExA(combo, nullptr, "Edit", nullptr); }

// The main window of a started program; nullptr when it did not appear.
inline HWND WaitForMainWindow(const Program& program) {
  return WaitFor([&] { return FindProgramWindow(program, "KelvanorFrame", "Test Tovamic "); });
}

// Starts the log from the main menu and waits until KELVAN.LOG exists in the folder.
inline bool StartLog(HWND main, const std::filesystem::path& directory) {
  constexpr UINT kLogFileCommand = 40009;
  PostMessageA(main, WM_COMMAND, kLogFileCommand, 0);
  return WaitFor([&] { return std::filesystem::exists(directory / "KELVAN.LOG"); });
}
