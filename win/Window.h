#pragma once
// Holds a window handle, with one-line helpers for the calls the program makes on it.
#include <windows.h>

#include <string>

class Window {
 public:
  HWND Handle() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  void SetItemText(int id, const std::string& text) const { SetDlgItemTextA(hwnd_, id, text.c_str()); }
  std::string ItemText(int id, int maxLength = 1024) const;
  void FocusItem(int id) const { SetFocus(Item(id)); }
  void Invalidate() const { InvalidateRect(hwnd_, nullptr, TRUE); }

 protected:
  HWND hwnd_ = nullptr;
};
