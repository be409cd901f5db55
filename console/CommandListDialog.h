#pragma once
#include <windows.h>

// Runs the command list editor modally on the console's lists. false if it could not be shown.
bool RunCommandListEditor(HWND owner);
