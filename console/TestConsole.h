#pragma once
#include <windows.h>

// Opens a new test console over the main window; it takes both panel menu items while it is open.
bool OpenTestConsole(HWND mainWindow);
