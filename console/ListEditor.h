#pragma once
// The command list editor's work on the lists: working copies of both lists that Add, Change and
// Delete change, while the console's counts follow; OK hands the texts over, Cancel the old counts back.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/CommandLists.h"

struct EditorLists {
  std::array<std::string, CommandLists::kCapacity> commands;
  std::array<std::string, CommandLists::kCapacity> descriptions;
  std::int16_t commandIndex = 0;
  std::int16_t descriptionIndex = 0;
  bool modified = false;
};

// Program-wide, like the console's lists.
EditorLists& EditorWorkingLists();

class ListEditor {
 public:
  enum class AddResult { Added, NoCommand, Full };

  // Opening: copies the console's entries and keeps its counts for Cancel.
  ListEditor(CommandLists& console, EditorLists& working);

  // Inserts an entry after the selected one. The command loses a display prefix and leading white
  // space; the description loses a display prefix only. Refused when the command is empty, or when
  // either list has no room left.
  AddResult Add(std::string_view commandField, std::string_view descriptionField);
  // Replaces the selected entry's texts that were typed in (nullopt: not typed), and marks the
  // lists modified even when nothing was typed.
  void Change(std::optional<std::string_view> commandField, std::optional<std::string_view> descriptionField);
  void Delete();
  // A pick in either field selects the same entry in both.
  void Select(int index);

  // After a save: nothing left unsaved.
  void MarkSaved() { working_.modified = false; }
  bool Modified() const { return working_.modified; }

  void TakeOver();       // OK
  void RestoreCounts();  // Cancel

  std::vector<std::string> CommandEntries() const;      // display forms
  std::vector<std::string> DescriptionEntries() const;  // display forms
  int CommandIndex() const { return working_.commandIndex; }
  int DescriptionIndex() const { return working_.descriptionIndex; }
  int CommandCount() const { return console_.commandCount; }
  const EditorLists& Working() const { return working_; }

 private:
  CommandLists& console_;
  EditorLists& working_;
  std::int16_t savedCommandCount_;
  std::int16_t savedDescriptionCount_;
};
