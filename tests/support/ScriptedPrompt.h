#pragma once
// Answers the program's questions from a script and records what was asked.
#include <deque>
#include <string>
#include <vector>

#include "win/UserPrompt.h"

struct AskedMessage {
  std::string text;
  std::string caption;
  UINT icon;     // MB_ICON... part of the style
  UINT buttons;  // MB_OK, MB_YESNO, ... part of the style
};

class ScriptedPrompt : public UserPrompt {
 public:
  ScriptedPrompt() { SetPrompts(this); }
  ~ScriptedPrompt() override { SetPrompts(nullptr); }

  void AnswerMessage(int button) { messageAnswers_.push_back(button); }
  // An empty path answers Cancel.
  void AnswerFile(std::string path) { fileAnswers_.push_back(std::move(path)); }

  const std::vector<AskedMessage>& Messages() const { return messages_; }
  const std::vector<FileRequest>& FileRequests() const { return fileRequests_; }

  int Message(HWND owner, const std::string& text, const std::string& caption, UINT style) override;
  bool AskOpenFile(HWND, FileRequest& request) override { return AnswerFileRequest(request); }
  bool AskSaveFile(HWND, FileRequest& request) override { return AnswerFileRequest(request); }

 private:
  bool AnswerFileRequest(FileRequest& request);

  std::deque<int> messageAnswers_;
  std::deque<std::string> fileAnswers_;
  std::vector<AskedMessage> messages_;
  std::vector<FileRequest> fileRequests_;
};
