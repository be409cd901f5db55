#include <string>

#include "app/ConfigDialogs.h"
#include "app/CtNumberInput.h"
#include "resources/ResourceIds.h"
#include "session/MenuOwnedDialog.h"
#include "session/SessionSettings.h"

namespace {

// CTn as written when the dialog was last opened; put back when the field is refused.
std::string rememberedText;

class CtNumberDialog : public MenuOwnedDialog {
 public:
  explicit CtNumberDialog(HWND mainWindow) : MenuOwnedDialog(IDD_CT_NUMBER, mainWindow, kCtNumberItems) {}

 private:
  bool OnInitDialog() override {
    rememberedText = std::to_string(Settings().ctn);
    SendMessageA(Item(IDC_CT_NUMBER_FIELD), EM_LIMITTEXT, kCtNumberFieldLength, 0);
    SetItemText(IDC_CT_NUMBER_FIELD, rememberedText);
    FocusItem(IDC_CT_NUMBER_FIELD);
    return false;
  }

  void OnOK() override { TakeOverField(); }

  void OnCancel() override {
    if (TakeOverField()) Close();
  }

  bool TakeOverField() {
    const auto number = ParseCtNumber(ItemText(IDC_CT_NUMBER_FIELD, kCtNumberFieldLength));
    if (!number) {
      SetItemText(IDC_CT_NUMBER_FIELD, rememberedText);
      FocusItem(IDC_CT_NUMBER_FIELD);
      return false;
    }
    Settings().ctn = *number;
    Invalidate();
    return true;
  }
};

}  // namespace

void OpenCtNumberDialog(HWND mainWindow) {
  MenuOwnedDialog::Open(std::make_unique<CtNumberDialog>(mainWindow));
}
