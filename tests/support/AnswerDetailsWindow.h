#pragma once
// The open Answer Details window and the text it shows, for the tests that watch it follow a panel.
#include <windows.h>

#include <string>

#include "resources/ResourceIds.h"

inline HWND AnswerDetailsWindow() { return FindWindowA("#32770", "Answer Details"); }

inline std::string AnswerDetailsShown() {
  HWND text = GetDlgItem(AnswerDetailsWindow(), IDC_ANSWER_DETAILS_TEXT);
  std::string shown(static_cast<std::size_t>(GetWindowTextLengthA(text)) + 1, '\0');
  shown.resize(static_cast<std::size_t>(GetWindowTextA(text, shown.data(), static_cast<int>(shown.size()))));
  return shown;
}
