#pragma once
// Every question and message to the user goes through here, so tests can answer them.
#include <windows.h>

#include <string>

struct FileRequest {
  std::string title;
  std::string filter;            // "Request files (*.req)|*.req|" style, '|' between the parts
  std::string defaultExtension;  // without the dot
  std::string path;              // in: proposed name; out: the chosen path
};

class UserPrompt {
 public:
  virtual ~UserPrompt() = default;
  // MessageBoxA's contract: style is the MB_ buttons and icon, the result the button chosen.
  virtual int Message(HWND owner, const std::string& text, const std::string& caption, UINT style) = 0;
  virtual bool AskOpenFile(HWND owner, FileRequest& request) = 0;
  virtual bool AskSaveFile(HWND owner, FileRequest& request) = 0;
};

UserPrompt& Prompts();
// Installs a replacement; nullptr goes back to the system's dialogs.
void SetPrompts(UserPrompt* prompt);
