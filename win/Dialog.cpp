#include "win/Dialog.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<HWND>& ModelessDialogs() {
  static std::vector<HWND> dialogs;
  return dialogs;
}
}  // namespace

bool Dialog::CreateModeless(HWND parent) {
  modeless_ = true;
  HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, Proc,
                                 reinterpret_cast<LPARAM>(this));
  if (!hwnd) return false;
  ModelessDialogs().push_back(hwnd);
  ShowWindow(hwnd, SW_SHOW);
  return true;
}

INT_PTR Dialog::RunModal(HWND parent) {
  modeless_ = false;
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, Proc,
                         reinterpret_cast<LPARAM>(this));
}

bool Dialog::PreTranslate(MSG& msg) {
  // A copy: a dialog may close itself while it handles the message.
  const std::vector<HWND> dialogs = ModelessDialogs();
  return std::any_of(dialogs.begin(), dialogs.end(),
                     [&](HWND d) { return IsWindow(d) && IsDialogMessageA(d, &msg); });
}

void Dialog::OnOK() {
  if (modeless_)
    Close();
  else
    EndDialog(hwnd_, IDOK);
}

void Dialog::OnCancel() {
  if (modeless_)
    Close();
  else
    EndDialog(hwnd_, IDCANCEL);
}

void Dialog::Close() {
  if (modeless_)
    DestroyWindow(hwnd_);
  else
    EndDialog(hwnd_, IDCANCEL);
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return FALSE;
  ++self->activeCalls_;
  INT_PTR handled = FALSE;
  try {
    handled = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    handled = FALSE;
  }
  if (--self->activeCalls_ == 0 && self->windowGone_ && self->modeless_) delete self;
  return handled;
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInitDialog() ? TRUE : FALSE;

  LRESULT result = 0;
  if (Dispatch(message, wParam, lParam, result)) {
    if (hwnd_) SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
  }
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != 0) return FALSE;
      if (LOWORD(wParam) == IDOK) {
        OnOK();
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    case WM_NCDESTROY: {
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      auto& dialogs = ModelessDialogs();
      dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), hwnd_), dialogs.end());
      hwnd_ = nullptr;
      windowGone_ = true;
      return TRUE;
    }
    default:
      return FALSE;
  }
}
