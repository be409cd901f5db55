// Starts kelvanor.exe from the current folder, as a user who unpacked the release does, waits for
// its main window and closes it with WM_CLOSE. Passes when the program ends with exit code 0.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND MainWindowOf(DWORD processId) {
  for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, "Test Tovamic "); w;
       w = FindWindowExA(nullptr, w, nullptr, "Test Tovamic ")) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

}  // namespace

int main() {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  const std::string exe = std::string(folder) + "\\kelvanor.exe";
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                      &process)) {
    std::printf("FAIL: cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    return 1;
  }
  HWND window = nullptr;
  for (int i = 0; i < 1000 && !window; ++i) {
    if (WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) break;
    window = MainWindowOf(process.dwProcessId);
  }
  DWORD code = STILL_ACTIVE;
  if (window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 20000);
  }
  GetExitCodeProcess(process.hProcess, &code);
  if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 99);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!window) {
    std::printf("FAIL: %s showed no main window \"Test Tovamic \" (exit code %lu)\n", exe.c_str(), code);
    return 1;
  }
  if (code != 0) {
    std::printf("FAIL: %s ended with %lu after WM_CLOSE\n", exe.c_str(), code);
    return 1;
  }
  std::printf("%s started, showed its main window and ended with 0 after WM_CLOSE\n", exe.c_str());
  return 0;
}
