#pragma once
// Menu items addressed by position: pop-up index on the menu bar, then item index within it.
#include <windows.h>

#include <string>

void SetPopupItem(HWND window, int popup, int position, const char* label, UINT id);
UINT PopupItemId(HWND window, int popup, int position);
std::string PopupItemLabel(HWND window, int popup, int position);
inline void RedrawMenuBar(HWND window) { DrawMenuBar(window); }
