#pragma once
// What the test console and the CT-BCS panel have in common: both take the two panel menu items,
// and both show CTn and PTn in a label that follows the main window's settings on activation.
#include "session/MenuOwnedDialog.h"

class PanelDialog : public MenuOwnedDialog {
 public:
  PanelDialog(int templateId, HWND mainWindow, int configLabelId)
      : MenuOwnedDialog(templateId, mainWindow, kPanelItems), configLabelId_(configLabelId) {}

 protected:
  // Bind WM_ACTIVATE to this in the panel's table.
  void OnActivate();
  // CTn and PTn as they are now, repainted at once.
  void RefreshConfigLabel();

 private:
  int configLabelId_;
};
