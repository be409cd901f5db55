#include "bcs/WaitingDialog.h"

#include <memory>

#include "resources/ResourceIds.h"
#include "win/Dialog.h"

namespace {

class WaitingWindow : public Dialog {
 public:
  explicit WaitingWindow(CardDirection direction) : Dialog(IDD_WAITING), direction_(direction) {}

 private:
  bool OnInitDialog() override {
    SetItemText(IDC_WAITING_TEXT, direction_ == CardDirection::Insertion
                                      ? "Waiting for smart card insertion..."
                                      : "Waiting for smart card removal...");
    return true;
  }
  CardDirection direction_;
};

}  // namespace

bool WaitingDialog::Create(HWND parent, CardDirection direction) {
  HWND owner = parent;
  if (GetWindowLongA(parent, GWL_STYLE) & WS_CHILD) owner = GetAncestor(parent, GA_ROOT);
  if (owner && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    disabledOwner_ = owner;
  }
  auto window = std::make_unique<WaitingWindow>(direction);
  if (!window->CreateModeless(parent)) {
    Destroy();
    return false;
  }
  window_ = window.release()->Handle();  // the window owns it now
  // Nothing is painted while the driver blocks the thread: show the text before the call.
  UpdateWindow(window_);
  return true;
}

void WaitingDialog::Destroy() {
  if (disabledOwner_) {
    EnableWindow(disabledOwner_, TRUE);
    disabledOwner_ = nullptr;
  }
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
}
