#include "win/Menu.h"

void SetPopupItem(HWND window, int popup, int position, const char* label, UINT id) {
  HMENU sub = GetSubMenu(GetMenu(window), popup);
  if (sub) ModifyMenuA(sub, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING, id, label);
}

UINT PopupItemId(HWND window, int popup, int position) {
  return GetMenuItemID(GetSubMenu(GetMenu(window), popup), position);
}

std::string PopupItemLabel(HWND window, int popup, int position) {
  char label[256] = {};
  GetMenuStringA(GetSubMenu(GetMenu(window), popup), static_cast<UINT>(position), label, sizeof label,
                 MF_BYPOSITION);
  return label;
}
