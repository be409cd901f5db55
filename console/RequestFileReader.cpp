#include "console/RequestFile.h"
#include "console/RequestFileScanner.h"

std::string& RequestFileName() {
  static std::string name = "tm.req";
  return name;
}

bool LoadRequestText(std::string_view bytes, CommandLists& lists) {
  for (auto& text : lists.commands) text.clear();
  for (auto& text : lists.descriptions) text.clear();
  lists.commandCount = lists.descriptionCount = 0;
  lists.commandSelection = lists.descriptionSelection = 0;
  bool pendingDescription = false;

  RequestFileScanner scanner(bytes);
  RequestLine line;
  while (scanner.Next(line)) {
    if (line.kind == RequestLine::Kind::Description) {
      lists.descriptions[lists.descriptionCount] = std::move(line.text);
      pendingDescription = true;
    } else if (line.kind == RequestLine::Kind::Command) {
      if (!pendingDescription) lists.descriptions[lists.descriptionCount] = " ";
      pendingDescription = false;
      if (++lists.descriptionCount == CommandLists::kCapacity) return false;
      lists.commands[lists.commandCount++] = std::move(line.text);
    }
  }
  return true;
}
