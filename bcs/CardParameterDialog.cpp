#include "bcs/CardParameterDialog.h"

#include <string>

#include "bcs/CardParameters.h"
#include "resources/ResourceIds.h"
#include "win/Dialog.h"
#include "win/UserPrompt.h"

namespace {

class CardParameterDialog : public Dialog {
 public:
  CardParameterDialog() : Dialog(IDD_CARD_PARAMETERS) {}

 private:
  bool OnInitDialog() override {
    const CardParameters& params = CardParams();
    SetItemText(IDC_WAITING_TIME, params.waitingTimeText);
    SendMessageA(Item(IDC_WAITING_TIME), EM_LIMITTEXT, kWaitingTimeFieldLength, 0);
    FocusItem(IDC_WAITING_TIME);
    // Request ICC has no signal to give: its box stays unchecked, so an OK there clears the flag.
    const bool removal = params.direction == CardDirection::Removal;
    EnableWindow(Item(IDC_ACOUSTIC_SIGNAL), removal);
    if (removal)
      CheckDlgButton(hwnd_, IDC_ACOUSTIC_SIGNAL, params.acousticSignal ? BST_CHECKED : BST_UNCHECKED);
    return false;
  }

  void OnOK() override {
    CardParameters& params = CardParams();
    params.waitingTimeText = ItemText(IDC_WAITING_TIME, kWaitingTimeFieldLength);
    const WaitingTimeEntry entry = ParseWaitingTime(params.waitingTimeText);
    if (entry.verdict != WaitingTimeVerdict::Accepted) {
      Prompts().Message(hwnd_, std::string(RefusalText(entry.verdict)), "Kelvanor", MB_OK | MB_ICONSTOP);
      params.waitingTimeText = "0";
      SetItemText(IDC_WAITING_TIME, params.waitingTimeText);
      return;
    }
    params.waitingTime = entry.seconds;
    params.acousticSignal = IsDlgButtonChecked(hwnd_, IDC_ACOUSTIC_SIGNAL) == BST_CHECKED ? 1 : 0;
    Dialog::OnOK();
  }
};

}  // namespace

bool AskCardParameters(HWND parent) { return CardParameterDialog().RunModal(parent) != -1; }
