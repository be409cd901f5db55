#include "app/PanelDialog.h"

#include "app/ConfigLabel.h"
#include "app/SessionSettings.h"

void PanelDialog::OnActivate() {
  if (LOWORD(CurrentMessage().wParam) != WA_INACTIVE) RefreshConfigLabel();
}

void PanelDialog::RefreshConfigLabel() {
  SetItemText(configLabelId_, ConfigLabelText(Settings()));
  UpdateWindow(Handle());
}
