#include <string>

#include "app/ConfigDialogs.h"
#include "app/CtNumberInput.h"
#include "app/SessionSettings.h"
#include "resources/ResourceIds.h"
#include "win/Dialog.h"
#include "win/Menu.h"

namespace {

// CTn as written when the dialog was last opened; put back when the field is refused.
std::string rememberedText;

class CtNumberDialog : public Dialog {
 public:
  explicit CtNumberDialog(HWND mainWindow) : Dialog(IDD_CT_NUMBER), mainWindow_(mainWindow) {}

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

  void OnDestroy() override {
    SetPopupItem(mainWindow_, 0, 0, "CT &Number", ID_CT_NUMBER);
    RedrawMenuBar(mainWindow_);
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

  HWND mainWindow_;
};

}  // namespace

void OpenCtNumberDialog(HWND mainWindow) {
  auto* dialog = new CtNumberDialog(mainWindow);
  if (!dialog->CreateModeless(mainWindow)) delete dialog;
}
