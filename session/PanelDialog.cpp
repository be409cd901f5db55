#include "session/PanelDialog.h"

#include "session/ConfigLabel.h"
#include "session/SessionSettings.h"

void PanelDialog::OnActivate() {
  if (LOWORD(CurrentMessage().wParam) != WA_INACTIVE) RefreshConfigLabel();
}

void PanelDialog::RefreshConfigLabel() {
  SetItemText(configLabelId_, ConfigLabelText(Settings()));
  UpdateWindow(Handle());
}
