#pragma once
// The window shown while the terminal waits for a card to be inserted or removed. The driver call
// blocks the program meanwhile, so the window takes no input, and neither does the owner it
// disables; both come back when it is destroyed, at the latest with this object.
#include <windows.h>

#include "bcs/CardParameters.h"

class WaitingDialog {
 public:
  WaitingDialog() = default;
  WaitingDialog(const WaitingDialog&) = delete;
  WaitingDialog& operator=(const WaitingDialog&) = delete;
  ~WaitingDialog() { Destroy(); }

  // false: no window could be made, and the owner is enabled again.
  bool Create(HWND parent, CardDirection direction);
  void Destroy();

 private:
  HWND window_ = nullptr;
  HWND disabledOwner_ = nullptr;
};
