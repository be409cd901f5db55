#pragma once
#include <windows.h>

// The modeless configuration dialogs; each gives its menu item back when it closes.
void OpenCtNumberDialog(HWND mainWindow);
void OpenPortNumberDialog(HWND mainWindow);
