#include "console/ListEditor.h"

#include <algorithm>

#include "console/ListEntries.h"

namespace {

constexpr int kLast = CommandLists::kCapacity - 1;

// Opens a slot at index by moving the entries from there one up; count is below the capacity.
void InsertAt(std::array<std::string, CommandLists::kCapacity>& slots, int index, int count,
              std::string text) {
  for (int i = count; i > index; --i) slots[i] = std::move(slots[i - 1]);
  slots[index] = std::move(text);
}

void RemoveAt(std::array<std::string, CommandLists::kCapacity>& slots, int index, int count) {
  for (int i = index; i + 1 < count; ++i) slots[i] = std::move(slots[i + 1]);
}

std::vector<std::string> Entries(const std::array<std::string, CommandLists::kCapacity>& slots, int count) {
  std::vector<std::string> entries;
  for (int i = 0; i < std::clamp(count, 0, CommandLists::kCapacity); ++i)
    entries.push_back(DisplayFormEntry(i, slots[i]));
  return entries;
}

// The index an added entry takes: after the selected one, never past the entries there are.
std::int16_t InsertionIndex(std::int16_t selected, std::int16_t count) {
  if (count == 0) return 0;
  return static_cast<std::int16_t>(std::clamp<int>(selected, 0, count - 1) + 1);
}

}  // namespace

EditorLists& EditorWorkingLists() {
  static EditorLists lists;
  return lists;
}

ListEditor::ListEditor(CommandLists& console, EditorLists& working)
    : console_(console),
      working_(working),
      savedCommandCount_(console.commandCount),
      savedDescriptionCount_(console.descriptionCount) {
  working_.commandIndex = working_.descriptionIndex = 0;
  working_.modified = false;
  for (int i = 0; i < std::clamp<int>(console.descriptionCount, 0, CommandLists::kCapacity); ++i)
    working_.descriptions[i] = console.descriptions[i];
  for (int i = 0; i < std::clamp<int>(console.commandCount, 0, CommandLists::kCapacity); ++i)
    working_.commands[i] = console.commands[i];
}

ListEditor::AddResult ListEditor::Add(std::string_view commandField, std::string_view descriptionField) {
  std::string command(ColonCut(commandField));
  command.erase(0, command.find_first_not_of(" \t\r\n\v\f"));
  if (command.empty()) return AddResult::NoCommand;
  if (console_.commandCount >= CommandLists::kCapacity ||
      console_.descriptionCount >= CommandLists::kCapacity)
    return AddResult::Full;

  working_.commandIndex = InsertionIndex(working_.commandIndex, console_.commandCount);
  if (command.find(':') != std::string::npos) command = std::string(ColonCut(command));
  InsertAt(working_.commands, working_.commandIndex, console_.commandCount, std::move(command));
  ++console_.commandCount;

  working_.descriptionIndex = InsertionIndex(working_.descriptionIndex, console_.descriptionCount);
  std::string description(descriptionField);
  if (description.find(':') != std::string::npos) description = std::string(ColonCut(description));
  if (description.empty()) description = " ";
  InsertAt(working_.descriptions, working_.descriptionIndex, console_.descriptionCount,
           std::move(description));
  ++console_.descriptionCount;

  working_.modified = true;
  return AddResult::Added;
}

void ListEditor::Change(std::optional<std::string_view> commandField,
                        std::optional<std::string_view> descriptionField) {
  if (commandField)
    working_.commands[std::clamp<int>(working_.commandIndex, 0, kLast)] =
        std::string(ColonCut(*commandField));
  if (descriptionField)
    working_.descriptions[std::clamp<int>(working_.descriptionIndex, 0, kLast)] =
        std::string(ColonCut(*descriptionField));
  working_.modified = true;
}

void ListEditor::Delete() {
  if (console_.commandCount <= 0) return;
  // The description that a full load leaves without a command can be selected on its own: then
  // only it goes.
  if (working_.commandIndex < console_.commandCount) {
    RemoveAt(working_.commands, working_.commandIndex, console_.commandCount);
    --console_.commandCount;
  }
  if (working_.commandIndex != 0) --working_.commandIndex;
  if (working_.descriptionIndex < console_.descriptionCount) {
    RemoveAt(working_.descriptions, working_.descriptionIndex, console_.descriptionCount);
    --console_.descriptionCount;
  }
  if (working_.descriptionIndex != 0) --working_.descriptionIndex;
  working_.modified = true;
}

void ListEditor::Select(int index) {
  const auto clamped = static_cast<std::int16_t>(std::clamp(index, 0, kLast));
  working_.commandIndex = working_.descriptionIndex = clamped;
}

void ListEditor::TakeOver() {
  for (int i = 0; i < std::clamp<int>(console_.descriptionCount, 0, CommandLists::kCapacity); ++i)
    console_.descriptions[i] = working_.descriptions[i];
  for (int i = 0; i < std::clamp<int>(console_.commandCount, 0, CommandLists::kCapacity); ++i)
    console_.commands[i] = working_.commands[i];
}

void ListEditor::RestoreCounts() {
  console_.commandCount = savedCommandCount_;
  console_.descriptionCount = savedDescriptionCount_;
}

std::vector<std::string> ListEditor::CommandEntries() const {
  return Entries(working_.commands, console_.commandCount);
}

std::vector<std::string> ListEditor::DescriptionEntries() const {
  return Entries(working_.descriptions, console_.descriptionCount);
}
