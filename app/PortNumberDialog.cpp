#include <array>

#include "app/ConfigDialogs.h"
#include "resources/ResourceIds.h"
#include "session/MenuOwnedDialog.h"
#include "session/SessionSettings.h"

namespace {

constexpr std::array kPortEntries{" 0 (auto)", " 1 (300)", " 2 (320)", " 3 (340)",
                                  " 4 (360)",  " 5 (380)", " 6 (3A0)", " 7 (3C0)"};

// No OK button: Enter closes it like Close, through the dialog's own close handling.
class PortNumberDialog : public MenuOwnedDialog {
 public:
  explicit PortNumberDialog(HWND mainWindow)
      : MenuOwnedDialog(IDD_PORT_NUMBER, mainWindow, kPortNumberItems) {}

 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;

  void OnSelectionChange() {
    const LRESULT index = SendMessageA(Item(IDC_PORT_LIST), CB_GETCURSEL, 0, 0);
    if (index >= 0 && index < static_cast<LRESULT>(kPortEntries.size()))
      Settings().ptn = static_cast<std::uint16_t>(index);
  }

  bool OnInitDialog() override {
    HWND list = Item(IDC_PORT_LIST);
    for (const char* entry : kPortEntries)
      SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    EnableWindow(list, TRUE);
    SendMessageA(list, CB_SETCURSEL, Settings().ptn, 0);
    return true;
  }
};

const MessageEntry PortNumberDialog::kMessages[] = {
    OnNotify(IDC_PORT_LIST, CBN_SELCHANGE, &PortNumberDialog::OnSelectionChange),
};

std::span<const MessageEntry> PortNumberDialog::MessageTable() const { return kMessages; }

}  // namespace

void OpenPortNumberDialog(HWND mainWindow) {
  MenuOwnedDialog::Open(std::make_unique<PortNumberDialog>(mainWindow));
}
