#include "win/UserPrompt.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

bool AskFile(HWND owner, FileRequest& request, bool save) {
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
  const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
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
