#include "win/UserPrompt.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);

// comdlg32 is loaded at the first file dialog rather than imported: many sessions never show one,
// and importing it makes every start pay for loading it and the libraries it pulls in.
FileDialogFunction CommonDialogFunction(const char* name, DWORD& error) {
  static HMODULE library = nullptr;
  if (!library) library = LoadLibraryA("comdlg32.dll");
  FARPROC function = library ? GetProcAddress(library, name) : nullptr;
  error = function ? ERROR_SUCCESS : GetLastError();
  return reinterpret_cast<FileDialogFunction>(reinterpret_cast<void*>(function));
}

bool AskFile(HWND owner, FileRequest& request, bool save) {
  DWORD error = ERROR_SUCCESS;
  const FileDialogFunction showDialog =
      CommonDialogFunction(save ? "GetSaveFileNameA" : "GetOpenFileNameA", error);
  if (!showDialog) {
    Prompts().Message(owner,
                      "The file dialog cannot be shown: comdlg32.dll could not be loaded (error " +
                          std::to_string(error) + ").",
                      "Kelvanor", MB_OK | MB_ICONSTOP);
    return false;
  }
  std::string filter = request.filter;
  std::replace(filter.begin(), filter.end(), '|', '\0');
  filter.push_back('\0');
  std::vector<char> path(MAX_PATH, '\0');
  request.path.copy(path.data(), std::min(request.path.size(), path.size() - 1));
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
  ofn.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
  ofn.Flags = save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR
                   : OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  const BOOL ok = showDialog(&ofn);
  if (ok) request.path = path.data();
  return ok != FALSE;
}

class SystemPrompt : public UserPrompt {
 public:
  int Message(HWND owner, const std::string& text, const std::string& caption, UINT style) override {
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
  }
  bool AskOpenFile(HWND owner, FileRequest& request) override { return AskFile(owner, request, false); }
  bool AskSaveFile(HWND owner, FileRequest& request) override { return AskFile(owner, request, true); }
};

SystemPrompt systemPrompt;
UserPrompt* current = &systemPrompt;

}  // namespace

UserPrompt& Prompts() { return *current; }

void SetPrompts(UserPrompt* prompt) { current = prompt ? prompt : &systemPrompt; }
