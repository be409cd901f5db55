// "Modify command list": edits working copies of the console's lists; OK hands them over.
#include <optional>

#include "console/CommandListEditor.h"
#include "console/ListEditor.h"
#include "console/RequestFileDialogs.h"
#include "resources/ResourceIds.h"
#include "win/Dialog.h"
#include "win/UserPrompt.h"

namespace {

constexpr WPARAM kFieldLimit = 600;

class CommandListDialog : public Dialog {
 public:
  CommandListDialog() : Dialog(IDD_COMMAND_LIST), editor_(ConsoleLists(), EditorWorkingLists()) {}

 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;

  bool OnInitDialog() override {
    SendMessageA(Item(IDC_EDITOR_DESCRIPTION), CB_LIMITTEXT, kFieldLimit, 0);
    SendMessageA(Item(IDC_EDITOR_COMMAND), CB_LIMITTEXT, kFieldLimit, 0);
    RefillDescriptions();
    RefillCommands();
    return true;
  }

  void OnAdd() {
    switch (editor_.Add(FieldText(IDC_EDITOR_COMMAND), FieldText(IDC_EDITOR_DESCRIPTION))) {
      case ListEditor::AddResult::NoCommand:
        Prompts().Message(hwnd_, "No command found!", "Kelvanor", MB_OK | MB_ICONINFORMATION);
        return;
      case ListEditor::AddResult::Full:
        Prompts().Message(hwnd_, "The command list is full: it holds 100 entries.", "Kelvanor",
                          MB_OK | MB_ICONSTOP);
        return;
      case ListEditor::AddResult::Added:
        RefillCommands();
        RefillDescriptions();
        return;
    }
  }

  void OnChange() {
    const std::optional<std::string> command =
        commandEdited_ ? std::optional(FieldText(IDC_EDITOR_COMMAND)) : std::nullopt;
    const std::optional<std::string> description =
        descriptionEdited_ ? std::optional(FieldText(IDC_EDITOR_DESCRIPTION)) : std::nullopt;
    editor_.Change(command, description);
    if (commandEdited_) RefillCommands();
    if (descriptionEdited_) RefillDescriptions();
    commandEdited_ = descriptionEdited_ = false;
  }

  void OnDelete() {
    editor_.Delete();
    RefillCommands();
    RefillDescriptions();
  }

  void OnSave() {
    if (SaveRequestFileAs(hwnd_, editor_.Working(), editor_.CommandCount())) editor_.MarkSaved();
  }

  void OnCommandTyped() { commandEdited_ = true; }
  void OnDescriptionTyped() { descriptionEdited_ = true; }
  void OnCommandPicked() { FollowPick(IDC_EDITOR_COMMAND, IDC_EDITOR_DESCRIPTION); }
  void OnDescriptionPicked() { FollowPick(IDC_EDITOR_DESCRIPTION, IDC_EDITOR_COMMAND); }

  void OnOK() override {
    if (!SettleUnsavedChanges()) return;
    editor_.TakeOver();
    EndDialog(hwnd_, IDOK);
  }

  void OnCancel() override {
    if (!SettleUnsavedChanges()) return;
    editor_.RestoreCounts();
    EndDialog(hwnd_, IDCANCEL);
  }

  // false when the user cancels the question and stays in the editor.
  bool SettleUnsavedChanges() {
    if (!editor_.Modified()) return true;
    switch (Prompts().Message(hwnd_, "Do you want to save the changes?", "Kelvanor",
                              MB_YESNOCANCEL | MB_ICONQUESTION)) {
      case IDYES:
        OnSave();
        return true;
      case IDNO:
        return true;
      default:
        return false;
    }
  }

  void FollowPick(int picked, int other) {
    const LRESULT index = SendMessageA(Item(picked), CB_GETCURSEL, 0, 0);
    if (index < 0) return;
    editor_.Select(static_cast<int>(index));
    SendMessageA(Item(other), CB_SETCURSEL, index, 0);
  }

  std::string FieldText(int id) const { return ItemText(id, GetWindowTextLengthA(Item(id))); }

  void Refill(int id, const std::vector<std::string>& entries, int selection) {
    HWND field = Item(id);
    SendMessageA(field, CB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < entries.size(); ++i)
      SendMessageA(field, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(entries[i].c_str()));
    EnableWindow(field, TRUE);
    SendMessageA(field, CB_SETCURSEL, selection, 0);
  }
  void RefillCommands() { Refill(IDC_EDITOR_COMMAND, editor_.CommandEntries(), editor_.CommandIndex()); }
  void RefillDescriptions() {
    Refill(IDC_EDITOR_DESCRIPTION, editor_.DescriptionEntries(), editor_.DescriptionIndex());
  }

  ListEditor editor_;
  bool commandEdited_ = false;
  bool descriptionEdited_ = false;
};

const MessageEntry CommandListDialog::kMessages[] = {
    OnCommand(IDC_ADD_COMMAND, &CommandListDialog::OnAdd),
    OnCommand(IDC_CHANGE_COMMAND, &CommandListDialog::OnChange),
    OnCommand(IDC_DELETE_COMMAND, &CommandListDialog::OnDelete),
    OnCommand(IDC_SAVE_FILE, &CommandListDialog::OnSave),
    OnNotify(IDC_EDITOR_COMMAND, CBN_EDITCHANGE, &CommandListDialog::OnCommandTyped),
    OnNotify(IDC_EDITOR_DESCRIPTION, CBN_EDITCHANGE, &CommandListDialog::OnDescriptionTyped),
    OnNotify(IDC_EDITOR_COMMAND, CBN_SELCHANGE, &CommandListDialog::OnCommandPicked),
    OnNotify(IDC_EDITOR_DESCRIPTION, CBN_SELCHANGE, &CommandListDialog::OnDescriptionPicked),
};
std::span<const MessageEntry> CommandListDialog::MessageTable() const { return kMessages; }

}  // namespace

bool RunCommandListEditor(HWND owner) {
  CommandListDialog dialog;
  return dialog.RunModal(owner) > 0;
}
