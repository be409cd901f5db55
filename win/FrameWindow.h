#pragma once
// The program's main window: a frame with a menu bar. Menu items whose command id has no handler
// in the table show disabled, so an item can be switched off by giving it an id nobody handles.
#include <string>

#include "win/MessageMap.h"
#include "win/Window.h"

struct FrameParams {
  std::string title;
  DWORD style = WS_OVERLAPPEDWINDOW;
  RECT rect{};  // left, top, right, bottom in screen pixels
  int menuId = 0;
  int iconId = 0;
};

class FrameWindow : public Window, public MessageTarget {
 public:
  FrameWindow() = default;
  FrameWindow(const FrameWindow&) = delete;
  FrameWindow& operator=(const FrameWindow&) = delete;
  ~FrameWindow() override;

  bool Create(const FrameParams& params);

  static constexpr const char* kClassName = "KelvanorFrame";

 private:
  static bool RegisterFrameClass(int iconId);
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void UpdateMenuItems(HMENU popup) const;
};
