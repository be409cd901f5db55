#pragma once
#include <windows.h>

// The modeless "Answer Details" window: the last answer of either panel explained, following each
// new one while it is open. It holds its menu item until it closes.
void OpenAnswerDetails(HWND mainWindow);
