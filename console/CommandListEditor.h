#pragma once
#include <windows.h>

// Runs the command list editor modally over the console's lists. False when it cannot be run at
// all; how the user ended it shows in the lists.
bool RunCommandListEditor(HWND owner);
