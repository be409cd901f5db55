#pragma once
// The free-form test panel: opens a terminal, sends typed or listed commands and shows the
// answers. Every decision is in the console logic; this class reads and writes the controls.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/ConsoleButtons.h"
#include "console/QuickResets.h"
#include "ctapi/CtApi.h"
#include "session/PanelDialog.h"

class TestConsoleDialog : public PanelDialog {
 public:
  // The driver is the program's bound one; tests give one whose CT_init and CT_close they steer.
  TestConsoleDialog(HWND mainWindow, const CtDriver& driver);

  // Shows the command and description lists as they stand, at their selections.
  void RefillLists();

 protected:
  bool OnInitDialog() override;
  void OnDestroy() override;

 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;

  void OnCtInit();
  void OnCtClose();
  void OnCtData();
  void OnResetCt();
  void OnResetIcc();
  void OnOpenFile();
  void OnModifyList();
  void OnDisplayMode();
  void OnNextCommand();
  void OnCommandPicked();
  void OnDescriptionPicked();
  void OnCommandTyped();
  void OnScroll();

  void ApplyButtons(ConsoleEvent event);
  void ShowStatusIcon(const char* name);
  void ShowOutput(const std::string& text);
  // The status icon and output line after a driver call.
  void ReportDriverResult(int rc, std::string_view successText, std::string_view errorPrefix);
  // Refuses a command text with a message, or fills bytes and the console's addresses.
  bool ParseCommandText(std::string_view text, std::vector<std::uint8_t>& bytes);
  // Shows the stored response again in the current mode, from its first line.
  void FormatResponse();
  void ScrollOutput();
  void SendQuickReset(const QuickReset& reset, ConsoleEvent success);
  void PickEntry(int pickedList, int otherList);
  void FillList(int listId, const std::string* texts, int count, int selection);
  void LogOutputLine();
  std::string FieldText(int id) const;

  const CtDriver& driver_;
};
