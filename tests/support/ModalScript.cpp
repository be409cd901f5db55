#include "tests/support/ModalScript.h"

#include <gtest/gtest.h>

namespace {

std::string pendingTitle;
std::function<void(HWND)> pendingSteps;
bool stepsRan = false;

// EndDialog hides a modal dialog at once, so a dialog still visible after the steps is still open.
void CALLBACK RunSteps(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", pendingTitle.c_str());
  if (!dialog || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  stepsRan = true;
  pendingSteps(dialog);
  if (IsWindowVisible(dialog)) {
    ADD_FAILURE() << "\"" << pendingTitle << "\" is still open";  // fail rather than hang
    EndDialog(dialog, IDABORT);
  }
}

}  // namespace

void WhenDialogShows(std::string title, std::function<void(HWND)> steps) {
  pendingTitle = std::move(title);
  pendingSteps = std::move(steps);
  stepsRan = false;
  SetTimer(nullptr, 0, 10, RunSteps);
}

bool DialogStepsRan() { return stepsRan; }
