#pragma once
// Drives a modal dialog: the steps run from the modal loop once the dialog with that title is on
// screen. Set it up before the click that opens the dialog.
#include <windows.h>

#include <functional>
#include <string>

void WhenDialogShows(std::string title, std::function<void(HWND)> steps);
// Whether the last steps set up have run.
bool DialogStepsRan();
