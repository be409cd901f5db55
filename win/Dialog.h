#pragma once
// Dialogs from templates. Modal and modeless dialogs differ only in how they are created and
// closed; a modeless dialog is heap-allocated and deletes itself when its window is destroyed.
#include "win/MessageMap.h"
#include "win/Window.h"

class Dialog : public Window, public MessageTarget {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates and shows the dialog; on success the object owns itself from then on.
  bool CreateModeless(HWND parent);
  INT_PTR RunModal(HWND parent);

  // Lets the open modeless dialogs have their keyboard messages (Tab, Enter, Escape).
  static bool PreTranslate(MSG& msg);

 protected:
  // The system gives the focus to the first control when this returns true.
  virtual bool OnInitDialog() { return true; }
  // Enter (IDOK) and Escape or the close box (IDCANCEL), unless the table binds them. A modeless
  // dialog is never ended with EndDialog, which would only hide it: both close it for real.
  virtual void OnOK();
  virtual void OnCancel();
  // The window is going; a modeless dialog gives back what it took (menu items) here.
  virtual void OnDestroy() {}

  void Close();

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  bool modeless_ = false;
  // A handler may close its own dialog: the window goes at once, but the object must outlive the
  // handlers still running on it, so a modeless dialog is deleted when the outermost call unwinds.
  int activeCalls_ = 0;
  bool windowGone_ = false;
};
