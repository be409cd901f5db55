#include "console/TestConsoleDialog.h"

#include <algorithm>
#include <memory>

#include "console/CommandListEditor.h"
#include "console/CommandText.h"
#include "console/ConsoleLogLines.h"
#include "console/ConsoleExchange.h"
#include "console/ConsoleState.h"
#include "console/ListEntries.h"
#include "console/RequestFileDialogs.h"
#include "console/TestConsole.h"
#include "ctapi/ReturnCodeText.h"
#include "ctapi/ZemtrakDriver.h"
#include "resources/ResourceIds.h"
#include "session/ConfigLabel.h"
#include "session/SessionLog.h"
#include "session/SessionSettings.h"
#include "win/UserPrompt.h"

namespace {

constexpr char kIconReady[] = "WIN_FORMAT_ICON1";
constexpr char kIconFailed[] = "WIN_FORMAT_ICON2";
constexpr char kIconSucceeded[] = "WIN_FORMAT_ICON3";
constexpr int kFieldLimit = 1000;

constexpr int kButtonIds[kConsoleButtonCount] = {
    IDC_CONSOLE_CT_INIT,     IDC_CONSOLE_CT_CLOSE,     IDC_CONSOLE_CT_DATA,
    IDC_CONSOLE_RESET_CT,    IDC_CONSOLE_RESET_ICC,    IDC_CONSOLE_OPEN_FILE,
    IDC_CONSOLE_MODIFY_LIST, IDC_CONSOLE_NEXT_COMMAND, IDCANCEL};

ScrollRequest ScrollRequestOf(WORD code) {
  switch (code) {
    case SB_LINEUP:
      return ScrollRequest::LineUp;
    case SB_LINEDOWN:
      return ScrollRequest::LineDown;
    case SB_PAGEUP:
      return ScrollRequest::PageUp;
    case SB_PAGEDOWN:
      return ScrollRequest::PageDown;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      return ScrollRequest::Thumb;
    default:
      return ScrollRequest::Other;
  }
}

}  // namespace

TestConsoleDialog::TestConsoleDialog(HWND mainWindow, const CtDriver& driver)
    : PanelDialog(IDD_TEST_CONSOLE, mainWindow, IDC_CONSOLE_CONFIG_LABEL), driver_(driver) {}

const MessageEntry TestConsoleDialog::kMessages[] = {
    OnMessage(WM_ACTIVATE, &TestConsoleDialog::OnActivate),
    OnMessage(WM_VSCROLL, &TestConsoleDialog::OnScroll),
    OnCommand(IDC_CONSOLE_CT_INIT, &TestConsoleDialog::OnCtInit),
    OnCommand(IDC_CONSOLE_CT_CLOSE, &TestConsoleDialog::OnCtClose),
    OnCommand(IDC_CONSOLE_CT_DATA, &TestConsoleDialog::OnCtData),
    OnCommand(IDC_CONSOLE_RESET_CT, &TestConsoleDialog::OnResetCt),
    OnCommand(IDC_CONSOLE_RESET_ICC, &TestConsoleDialog::OnResetIcc),
    OnCommand(IDC_CONSOLE_OPEN_FILE, &TestConsoleDialog::OnOpenFile),
    OnCommand(IDC_CONSOLE_MODIFY_LIST, &TestConsoleDialog::OnModifyList),
    OnCommand(IDC_CONSOLE_DISPLAY_MODE, &TestConsoleDialog::OnDisplayMode),
    OnCommand(IDC_CONSOLE_NEXT_COMMAND, &TestConsoleDialog::OnNextCommand),
    OnNotify(IDC_CONSOLE_COMMANDS, CBN_SELCHANGE, &TestConsoleDialog::OnCommandPicked),
    OnNotify(IDC_CONSOLE_DESCRIPTIONS, CBN_SELCHANGE, &TestConsoleDialog::OnDescriptionPicked),
    OnNotify(IDC_CONSOLE_COMMANDS, CBN_EDITCHANGE, &TestConsoleDialog::OnCommandTyped),
};

std::span<const MessageEntry> TestConsoleDialog::MessageTable() const { return kMessages; }

bool TestConsoleDialog::OnInitDialog() {
  SetWindowTextA(hwnd_, "Test Tovamic");
  ApplyButtons(ConsoleEvent::Opened);
  HWND scroll = Item(IDC_CONSOLE_OUTPUT_SCROLL);
  SetScrollRange(scroll, SB_CTL, 0, 10, FALSE);
  SetScrollPos(scroll, SB_CTL, 0, TRUE);
  SetItemText(IDC_CONSOLE_CONFIG_LABEL, ConfigLabelText(Settings()));
  SendDlgItemMessageA(hwnd_, IDC_CONSOLE_COMMANDS, CB_LIMITTEXT, kFieldLimit, 0);
  SendDlgItemMessageA(hwnd_, IDC_CONSOLE_DESCRIPTIONS, CB_LIMITTEXT, kFieldLimit, 0);
  ResetForNewConsole(Console(), ConsoleLists());
  return true;
}

void TestConsoleDialog::OnDestroy() {
  ReleaseResponseTexts(Console());
  PanelDialog::OnDestroy();
}

void TestConsoleDialog::OnCtInit() {
  const SessionSettings settings = Settings();
  const int rc = driver_.init(settings.ctn, settings.ptn);
  ReportDriverResult(rc, kCtInitOkText, kCtInitErrorPrefix);
  if (IsCtSuccess(rc)) ApplyButtons(ConsoleEvent::InitSucceeded);
  if (Log().Enabled()) {
    Log().Write(CtInitLogLine(settings.ctn, settings.ptn));
    LogOutputLine();
  }
  RefreshConfigLabel();
}

void TestConsoleDialog::OnCtClose() {
  const std::uint16_t ctn = Settings().ctn;
  const int rc = driver_.close(ctn);
  ReportDriverResult(rc, kCtCloseOkText, kCtCloseErrorPrefix);
  ApplyButtons(IsCtSuccess(rc) ? ConsoleEvent::CloseSucceeded : ConsoleEvent::CloseFailed);
  if (Log().Enabled()) {
    Log().Write(CtCloseLogLine(ctn));
    LogOutputLine();
  }
  RefreshConfigLabel();
}

void TestConsoleDialog::OnCtData() {
  ConsoleState& state = Console();
  const std::string field = FieldText(IDC_CONSOLE_COMMANDS);
  if (state.commandEdited) SetItemText(IDC_CONSOLE_DESCRIPTIONS, " ");
  // A copy: the lists may not change under the call, but the text must not depend on that.
  const std::string text(CommandToSend(state.commandEdited, field, ConsoleLists()));
  std::vector<std::uint8_t> bytes;
  if (!ParseCommandText(text, bytes)) return;

  ApplyButtons(ConsoleEvent::DataSending);
  const int rc = SendConsoleCommand(state, driver_, Settings().ctn, bytes);
  ReportDriverResult(rc, kCtDataOkText, kCtDataErrorPrefix);
  if (IsCtSuccess(rc)) FormatResponse();
  if (Log().Enabled()) {
    // The command as its field shows it, display-form prefix and all.
    Log().Write(FieldText(IDC_CONSOLE_COMMANDS) + "\n");
    if (!IsCtSuccess(rc))
      LogOutputLine();
    else if (state.responseLength > 0)
      Log().Write(state.logText);
  }
  ApplyButtons(ConsoleEvent::DataDone);
  RefreshConfigLabel();
}

void TestConsoleDialog::OnResetCt() { SendQuickReset(kQuickResetCt, ConsoleEvent::ResetCtSucceeded); }

void TestConsoleDialog::OnResetIcc() { SendQuickReset(kQuickResetIcc, ConsoleEvent::ResetIccSucceeded); }

void TestConsoleDialog::SendQuickReset(const QuickReset& reset, ConsoleEvent success) {
  ConsoleState& state = Console();
  ShowStatusIcon(kIconReady);
  state.commandEdited = true;  // so CT_data sends the text put into the field
  SetItemText(IDC_CONSOLE_COMMANDS, reset.commandText);
  SetItemText(IDC_CONSOLE_DESCRIPTIONS, reset.description);
  state.addresses = {kAddressHost, kAddressTerminal};
  const int rc = SendConsoleCommand(state, driver_, Settings().ctn, reset.bytes);
  ReportDriverResult(rc, kCtDataOkText, kCtDataErrorPrefix);
  if (IsCtSuccess(rc)) {
    ApplyButtons(success);
    FormatResponse();
  }
  if (Log().Enabled()) {
    Log().Write(reset.logLine);
    if (!IsCtSuccess(rc))
      LogOutputLine();
    else if (state.responseLength > 0)
      Log().Write(state.logText);
  }
  RefreshConfigLabel();
}

void TestConsoleDialog::OnOpenFile() {
  const RequestLoad load = OpenRequestFile(hwnd_, ConsoleLists());
  if (load == RequestLoad::Cancelled) return;
  Console().fileChosen = true;  // also when the file then could not be opened
  if (load == RequestLoad::NotOpened) return;
  Console().commandEdited = false;
  ApplyButtons(ConsoleEvent::FileLoaded);
  ShowStatusIcon(kIconReady);
  RefillLists();
}

void TestConsoleDialog::OnModifyList() {
  if (!RunCommandListEditor(hwnd_))
    Prompts().Message(hwnd_, "function not found!", "Kelvanor", MB_OK | MB_ICONINFORMATION);
  CommandLists& lists = ConsoleLists();
  lists.commandSelection = lists.descriptionSelection = 0;
  RefillLists();
  ApplyButtons(ConsoleEvent::EditorClosed);
}

void TestConsoleDialog::RefillLists() {
  const CommandLists& lists = ConsoleLists();
  FillList(IDC_CONSOLE_DESCRIPTIONS, lists.descriptions.data(), lists.descriptionCount,
           lists.descriptionSelection);
  FillList(IDC_CONSOLE_COMMANDS, lists.commands.data(), lists.commandCount, lists.commandSelection);
}

void TestConsoleDialog::FillList(int listId, const std::string* texts, int count, int selection) {
  HWND list = Item(listId);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  const int entries = std::clamp(count, 0, CommandLists::kCapacity);
  for (int i = 0; i < entries; ++i)
    SendMessageA(list, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(DisplayFormEntry(i, texts[i]).c_str()));
  EnableWindow(list, TRUE);
  SendMessageA(list, CB_SETCURSEL, selection, 0);
}

void TestConsoleDialog::OnDisplayMode() {
  ConsoleState& state = Console();
  // The caption names the mode the next press selects; the template's "Hex" stands at first.
  if (state.displayMode == DisplayMode::Hex) {
    state.displayMode = DisplayMode::Ascii;
    SetItemText(IDC_CONSOLE_DISPLAY_MODE, "Hex");
  } else {
    state.displayMode = DisplayMode::Hex;
    SetItemText(IDC_CONSOLE_DISPLAY_MODE, "Ascii");
  }
  if (RebuildResponseTexts(state)) FormatResponse();
}

void TestConsoleDialog::OnNextCommand() {
  CommandLists& lists = ConsoleLists();
  constexpr char kPassedEnd[] = "Passed the end of the command list.";
  if (AdvanceSelection(lists.descriptionSelection, lists.descriptionCount)) ShowOutput(kPassedEnd);
  SendDlgItemMessageA(hwnd_, IDC_CONSOLE_DESCRIPTIONS, CB_SETCURSEL, lists.descriptionSelection, 0);
  if (AdvanceSelection(lists.commandSelection, lists.commandCount)) ShowOutput(kPassedEnd);
  SendDlgItemMessageA(hwnd_, IDC_CONSOLE_COMMANDS, CB_SETCURSEL, lists.commandSelection, 0);
  Console().commandEdited = false;
  ShowStatusIcon(kIconReady);
}

void TestConsoleDialog::OnCommandPicked() { PickEntry(IDC_CONSOLE_COMMANDS, IDC_CONSOLE_DESCRIPTIONS); }

void TestConsoleDialog::OnDescriptionPicked() { PickEntry(IDC_CONSOLE_DESCRIPTIONS, IDC_CONSOLE_COMMANDS); }

void TestConsoleDialog::PickEntry(int pickedList, int otherList) {
  Console().commandEdited = false;
  const auto index = static_cast<std::int16_t>(SendDlgItemMessageA(hwnd_, pickedList, CB_GETCURSEL, 0, 0));
  SendDlgItemMessageA(hwnd_, otherList, CB_SETCURSEL, index, 0);
  CommandLists& lists = ConsoleLists();
  lists.commandSelection = lists.descriptionSelection = index;
  Invalidate();
  UpdateWindow(hwnd_);
}

void TestConsoleDialog::OnCommandTyped() { Console().commandEdited = true; }

void TestConsoleDialog::OnScroll() {
  const Message& m = CurrentMessage();
  if (reinterpret_cast<HWND>(m.lParam) != Item(IDC_CONSOLE_OUTPUT_SCROLL)) return;
  ConsoleState& state = Console();
  state.scrollPosition = static_cast<std::int16_t>(
      MovedScrollPosition(state.scrollPosition, ScrollRequestOf(LOWORD(m.wParam)), HIWORD(m.wParam)));
  ScrollOutput();
}

void TestConsoleDialog::ScrollOutput() {
  ConsoleState& state = Console();
  const ScrolledOutput view = ::ScrollOutput(state.displayText, state.lineCount, state.scrollPosition);
  state.scrollPosition = static_cast<std::int16_t>(view.position);
  if (view.active) SetScrollPos(Item(IDC_CONSOLE_OUTPUT_SCROLL), SB_CTL, view.position, TRUE);
  if (view.text) ShowOutput(*view.text);
  Invalidate();
  UpdateWindow(hwnd_);
}

void TestConsoleDialog::FormatResponse() {
  const ConsoleState& state = Console();
  if (state.responseLength == 0) return;
  if (state.lineCount > 2) {
    HWND scroll = Item(IDC_CONSOLE_OUTPUT_SCROLL);
    SetScrollRange(scroll, SB_CTL, 0, state.lineCount, FALSE);
    SetScrollPos(scroll, SB_CTL, 0, TRUE);
  }
  ShowOutput(state.displayText);
}

bool TestConsoleDialog::ParseCommandText(std::string_view text, std::vector<std::uint8_t>& bytes) {
  const CommandTextVerdict verdict = ::ParseCommandText(text, Console().addresses, bytes);
  if (verdict == CommandTextVerdict::Accepted) return true;
  Prompts().Message(hwnd_, RefusalText(verdict), "Kelvanor", MB_OK | MB_ICONSTOP);
  ShowStatusIcon(kIconReady);
  FocusItem(IDC_CONSOLE_COMMANDS);
  return false;
}

void TestConsoleDialog::ReportDriverResult(int rc, std::string_view successText,
                                           std::string_view errorPrefix) {
  ShowStatusIcon(IsCtSuccess(rc) ? kIconSucceeded : kIconFailed);
  ShowOutput(DriverResultText(rc, successText, errorPrefix));
}

void TestConsoleDialog::ApplyButtons(ConsoleEvent event) {
  const auto changes = ButtonChanges(event, Console().fileChosen);
  for (int i = 0; i < kConsoleButtonCount; ++i)
    if (changes[i] != ButtonChange::Keep)
      EnableWindow(Item(kButtonIds[i]), changes[i] == ButtonChange::Enable);
}

void TestConsoleDialog::ShowStatusIcon(const char* name) {
  SendDlgItemMessageA(hwnd_, IDC_CONSOLE_STATUS_ICON, STM_SETICON,
                      reinterpret_cast<WPARAM>(LoadIconA(GetModuleHandleA(nullptr), name)), 0);
}

void TestConsoleDialog::ShowOutput(const std::string& text) { SetItemText(IDC_CONSOLE_OUTPUT, text); }

void TestConsoleDialog::LogOutputLine() {
  Log().Write(OutputLogLine(FieldText(IDC_CONSOLE_OUTPUT)));
}

std::string TestConsoleDialog::FieldText(int id) const {
  return ItemText(id, GetWindowTextLengthA(Item(id)));
}

bool OpenTestConsole(HWND mainWindow) {
  return MenuOwnedDialog::Open(std::make_unique<TestConsoleDialog>(mainWindow, ZemtrakDriver()));
}
