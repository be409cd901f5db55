#include "console/RequestFileDialogs.h"

#include "console/RequestFile.h"
#include "win/UserPrompt.h"

namespace {
constexpr const char* kFilter = "*.req |*.req| All Files (*.*) |*.*|";
}

bool SaveRequestFileAs(HWND owner, const EditorLists& lists, int count) {
  FileRequest request{"Save File", kFilter, "", RequestFileName()};
  if (!Prompts().AskSaveFile(owner, request)) return false;
  RequestFileName() = request.path;
  if (WriteRequestFile(request.path, RequestFileText(lists.descriptions, lists.commands, count))) return true;
  Prompts().Message(owner, "Error during open file: " + request.path, "Kelvanor", MB_OK | MB_ICONSTOP);
  return false;
}
