#pragma once
#include <windows.h>

#include "ctapi/CtApi.h"
#include "ctapi/ZemtrakDriver.h"

// Opens the CT-BCS panel; it holds both panel menu items until it closes. The driver is the bound
// ZEMTRAK.DLL; tests hand in one that looks at the windows while a command runs.
bool OpenBcsPanel(HWND mainWindow, const CtDriver& driver = ZemtrakDriver());
