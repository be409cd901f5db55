#include "bcs/BcsPanelDialog.h"

#include <initializer_list>
#include <memory>

#include "bcs/BcsOperation.h"
#include "bcs/CardParameterDialog.h"
#include "bcs/PanelExchange.h"
#include "bcs/SessionCommands.h"
#include "bcs/WaitingDialog.h"
#include "resources/ResourceIds.h"
#include "session/PanelDialog.h"
#include "session/SessionLog.h"
#include "session/SessionSettings.h"
#include "win/UserPrompt.h"

namespace {

constexpr int kCardButtons[] = {IDC_BCS_REQUEST_ICC, IDC_BCS_EJECT_ICC, IDC_BCS_RESET_ICC,
                                IDC_BCS_ICC_STATUS};

class BcsPanelDialog : public PanelDialog {
 public:
  BcsPanelDialog(HWND mainWindow, const CtDriver& driver)
      : PanelDialog(IDD_BCS_PANEL, mainWindow, IDC_BCS_CONFIG_LABEL), driver_(driver) {}

 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;

  bool OnInitDialog() override {
    ResetForNewPanel(CardParams());
    Enable({IDC_BCS_CT_CLOSE, IDC_BCS_CT_INFO, IDC_BCS_RESET_CT}, false);
    Enable(kCardButtons, false);
    RefreshConfigLabel();
    return true;
  }

  void OnCtInit() {
    const Outcome outcome = InitTerminal(driver_, Settings());
    Conclude(outcome, InitLogLine(Settings()));
  }

  void OnCtClose() {
    SetItemText(IDC_BCS_INPUT_LABEL, " ");
    const Outcome outcome = CloseTerminal(driver_, Settings());
    Enable({IDCANCEL}, true);
    Conclude(outcome, CloseLogLine(Settings()));
  }

  void OnResetCt() { Run(kResetCt); }
  void OnResetIcc() { Run(kResetIcc); }
  void OnRequestIcc() { Run(kRequestIcc); }
  void OnEjectIcc() { Run(kEjectIcc); }
  void OnIccStatus() { Run(kIccStatus); }
  void OnCtInfo() { Run(kCtInfo); }

  void Run(const BcsOperation& operation) {
    if (operation.direction) {
      CardParams().direction = *operation.direction;
      if (!AskCardParameters(hwnd_)) Prompts().Message(hwnd_, "function not found!", "Kelvanor", MB_OK);
    }
    const PreparedCommand command = Prepare(operation, CardParams());
    SetItemText(IDC_BCS_INPUT_LABEL, command.inputLabel);
    if (operation.LogsBeforeSending()) Log().Write(command.logLine);
    Outcome outcome;
    {
      WaitingDialog waiting;
      if (operation.direction && (CardParams().waitingTime & 0xFF) != 0)
        waiting.Create(MainWindow(), *operation.direction);
      outcome = exchange_.Send(driver_, Settings().ctn, operation, command.bytes);
    }
    Conclude(outcome, operation.LogsBeforeSending() ? std::string() : command.logLine);
  }

  // Buttons first, then the message, then the log (command line, if not written yet, and result).
  void Conclude(const Outcome& outcome, const std::string& logLine) {
    Apply(outcome.effect);
    Prompts().Message(hwnd_, outcome.message, "Kelvanor", MB_OK | static_cast<UINT>(outcome.icon));
    Log().Write(logLine);
    Log().Write(outcome.result + "\n");
    RefreshConfigLabel();
  }

  void Apply(PanelEffect effect) {
    switch (effect) {
      case PanelEffect::None:
        break;
      case PanelEffect::SessionOpened:
        Enable({IDC_BCS_CT_CLOSE, IDC_BCS_CT_INFO, IDC_BCS_RESET_CT}, true);
        Enable(kCardButtons, false);
        Enable({IDC_BCS_CT_INIT, IDCANCEL}, false);
        break;
      case PanelEffect::SessionClosed:
        Enable({IDC_BCS_CT_CLOSE, IDC_BCS_CT_INFO, IDC_BCS_RESET_CT}, false);
        Enable(kCardButtons, false);
        Enable({IDC_BCS_CT_INIT}, true);
        break;
      case PanelEffect::CardButtonsUnlocked:
        // Only the first success after CT_init changes anything.
        if (!IsWindowEnabled(Item(IDC_BCS_REQUEST_ICC))) Enable(kCardButtons, true);
        break;
    }
  }

  void Enable(std::initializer_list<int> ids, bool enable) const {
    Enable(std::span(ids.begin(), ids.size()), enable);
  }
  void Enable(std::span<const int> ids, bool enable) const {
    for (int id : ids) EnableWindow(Item(id), enable);
  }

  CtDriver driver_;
  PanelExchange exchange_;
};

const MessageEntry BcsPanelDialog::kMessages[] = {
    OnMessage(WM_ACTIVATE, &BcsPanelDialog::OnActivate),
    OnCommand(IDC_BCS_CT_INIT, &BcsPanelDialog::OnCtInit),
    OnCommand(IDC_BCS_CT_CLOSE, &BcsPanelDialog::OnCtClose),
    OnCommand(IDC_BCS_RESET_CT, &BcsPanelDialog::OnResetCt),
    OnCommand(IDC_BCS_RESET_ICC, &BcsPanelDialog::OnResetIcc),
    OnCommand(IDC_BCS_REQUEST_ICC, &BcsPanelDialog::OnRequestIcc),
    OnCommand(IDC_BCS_EJECT_ICC, &BcsPanelDialog::OnEjectIcc),
    OnCommand(IDC_BCS_ICC_STATUS, &BcsPanelDialog::OnIccStatus),
    OnCommand(IDC_BCS_CT_INFO, &BcsPanelDialog::OnCtInfo),
};

std::span<const MessageEntry> BcsPanelDialog::MessageTable() const { return kMessages; }

}  // namespace

bool OpenBcsPanel(HWND mainWindow, const CtDriver& driver) {
  return MenuOwnedDialog::Open(std::make_unique<BcsPanelDialog>(mainWindow, driver));
}
