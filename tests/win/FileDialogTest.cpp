// The system's Open and Save dialogs behind the prompt seam: comdlg32 stays unloaded until the
// first file dialog, which then comes up and answers a cancel as "nothing chosen".
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "win/UserPrompt.h"

namespace {

// Cancels the first dialog titled `title` that appears in this process; true if there was one.
bool CancelDialogWhenShown(const char* title) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    HWND dialog = FindWindowA("#32770", title);
    DWORD owner = 0;
    if (dialog) GetWindowThreadProcessId(dialog, &owner);
    if (owner == GetCurrentProcessId() && IsWindowVisible(dialog)) {
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

TEST(FileDialogs, CommonDialogLibraryLoadsAtTheFirstFileDialogAndCancelChoosesNothing) {
  EXPECT_EQ(GetModuleHandleA("comdlg32.dll"), nullptr) << "loaded before any file dialog";

  struct Case {
    bool save;
    const char* title;
  };
  for (const Case& c : {Case{false, "Open a request file"}, Case{true, "Save the request file"}}) {
    SCOPED_TRACE(c.title);
    std::atomic<bool> shown = false;
    std::thread closer([&] { shown = CancelDialogWhenShown(c.title); });
    FileRequest request{c.title, "Request files (*.req)|*.req|", "req", "proposed.req"};
    const bool chosen =
        c.save ? Prompts().AskSaveFile(nullptr, request) : Prompts().AskOpenFile(nullptr, request);
    closer.join();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(chosen);
    EXPECT_EQ(request.path, "proposed.req");
    EXPECT_NE(GetModuleHandleA("comdlg32.dll"), nullptr);
  }
}

}  // namespace
