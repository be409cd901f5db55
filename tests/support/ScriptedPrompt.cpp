#include "tests/support/ScriptedPrompt.h"

#include <gtest/gtest.h>

int ScriptedPrompt::Message(HWND, const std::string& text, const std::string& caption, UINT style) {
  messages_.push_back({text, caption, style & MB_ICONMASK, style & MB_TYPEMASK});
  if (messageAnswers_.empty()) {
    ADD_FAILURE() << "unexpected message box: " << text;
    return IDCANCEL;
  }
  const int answer = messageAnswers_.front();
  messageAnswers_.pop_front();
  return answer;
}

bool ScriptedPrompt::AnswerFileRequest(FileRequest& request) {
  fileRequests_.push_back(request);
  if (fileAnswers_.empty()) {
    ADD_FAILURE() << "unexpected file dialog: " << request.title;
    return false;
  }
  request.path = fileAnswers_.front();
  fileAnswers_.pop_front();
  return !request.path.empty();
}
