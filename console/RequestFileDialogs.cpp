#include "console/RequestFileDialogs.h"

#include "common/IniFile.h"
#include "console/RequestFile.h"
#include "session/SessionLog.h"
#include "win/UserPrompt.h"

namespace {
constexpr const char* kFilter = "*.req |*.req| All Files (*.*) |*.*|";

void ShowOpenError(HWND owner, const std::string& path) {
  Prompts().Message(owner, "Error during open file: " + path, "Kelvanor", MB_OK | MB_ICONSTOP);
}
}  // namespace

RequestLoad OpenRequestFile(HWND owner, CommandLists& lists) {
  FileRequest request{"Open File", kFilter, "", RequestFileName()};
  if (!Prompts().AskOpenFile(owner, request)) return RequestLoad::Cancelled;
  RequestFileName() = request.path;
  const std::optional<std::string> bytes = ini::ReadTextFile(request.path);
  if (!bytes) {
    ShowOpenError(owner, request.path);
    return RequestLoad::NotOpened;
  }
  Log().Write("File " + request.path + " is open.\n");
  if (!LoadRequestText(*bytes, lists))
    Prompts().Message(owner, "No Space available!", "Kelvanor", MB_OK | MB_ICONSTOP);
  return RequestLoad::Loaded;
}

bool SaveRequestFileAs(HWND owner, const EditorLists& lists, int count) {
  FileRequest request{"Save File", kFilter, "", RequestFileName()};
  if (!Prompts().AskSaveFile(owner, request)) return false;
  RequestFileName() = request.path;
  if (WriteRequestFile(request.path, RequestFileText(lists.descriptions, lists.commands, count))) return true;
  ShowOpenError(owner, request.path);
  return false;
}
