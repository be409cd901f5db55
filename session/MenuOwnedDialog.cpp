#include "session/MenuOwnedDialog.h"

bool MenuOwnedDialog::Open(std::unique_ptr<MenuOwnedDialog> dialog) {
  const HWND mainWindow = dialog->mainWindow_;
  const MenuItems items = dialog->items_;
  TakeMenuItems(mainWindow, items);
  if (!dialog->CreateModeless(mainWindow)) {
    GiveMenuItemsBack(mainWindow, items);
    return false;
  }
  dialog.release();  // the window owns it now
  return true;
}
