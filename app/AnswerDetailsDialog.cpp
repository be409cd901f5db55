#include "app/AnswerDetailsDialog.h"

#include "app/AnswerDetails.h"
#include "resources/ResourceIds.h"
#include "session/LastExchange.h"
#include "session/MenuOwnedDialog.h"

namespace {

class AnswerDetailsDialog : public MenuOwnedDialog {
 public:
  explicit AnswerDetailsDialog(HWND mainWindow)
      : MenuOwnedDialog(IDD_ANSWER_DETAILS, mainWindow, kAnswerDetailsItems) {}

 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;

  bool OnInitDialog() override {
    HWND text = Item(IDC_ANSWER_DETAILS_TEXT);
    // Fixed pitch, so the decoded fields stand in columns.
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), FALSE);
    FitText();
    Show(Exchanges().Last());
    Exchanges().SetFollower([this](const Exchange& exchange) { Show(exchange); });
    return true;
  }

  // Enter would close a window that has no buttons; only Escape and the close box do.
  void OnOK() override {}

  void OnDestroy() override {
    Exchanges().SetFollower({});
    MenuOwnedDialog::OnDestroy();
  }

  void OnSize() { FitText(); }

  void FitText() {
    RECT client;
    GetClientRect(hwnd_, &client);
    MoveWindow(Item(IDC_ANSWER_DETAILS_TEXT), 0, 0, client.right, client.bottom, TRUE);
  }

  void Show(const std::optional<Exchange>& exchange) {
    SetItemText(IDC_ANSWER_DETAILS_TEXT, AnswerDetailsText(exchange));
  }
};

const MessageEntry AnswerDetailsDialog::kMessages[] = {
    OnMessage(WM_SIZE, &AnswerDetailsDialog::OnSize),
};

std::span<const MessageEntry> AnswerDetailsDialog::MessageTable() const { return kMessages; }

}  // namespace

void OpenAnswerDetails(HWND mainWindow) {
  MenuOwnedDialog::Open(std::make_unique<AnswerDetailsDialog>(mainWindow));
}
