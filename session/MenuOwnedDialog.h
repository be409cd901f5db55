#pragma once
// A modeless dialog opened from the main menu. While it is open its menu items are out of use;
// it gives them back when its window goes, or at once if it cannot be created.
#include <memory>

#include "session/MenuItems.h"
#include "win/Dialog.h"

class MenuOwnedDialog : public Dialog {
 public:
  MenuOwnedDialog(int templateId, HWND mainWindow, MenuItems items)
      : Dialog(templateId), mainWindow_(mainWindow), items_(items) {}

  // Takes the items and creates the window, which then owns the dialog.
  static bool Open(std::unique_ptr<MenuOwnedDialog> dialog);

 protected:
  HWND MainWindow() const { return mainWindow_; }
  // Overrides call this last.
  void OnDestroy() override { GiveMenuItemsBack(mainWindow_, items_); }

 private:
  HWND mainWindow_;
  MenuItems items_;
};
