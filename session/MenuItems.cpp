#include "session/MenuItems.h"

#include "win/Menu.h"

void TakeMenuItems(HWND mainWindow, MenuItems items) {
  for (const MenuItemSpec& item : items)
    SetPopupItem(mainWindow, item.popup, item.position, item.label, ID_INERT);
  RedrawMenuBar(mainWindow);
}

void GiveMenuItemsBack(HWND mainWindow, MenuItems items) {
  for (const MenuItemSpec& item : items)
    SetPopupItem(mainWindow, item.popup, item.position, item.label, item.id);
  RedrawMenuBar(mainWindow);
}
