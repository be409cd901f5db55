#include "win/FrameWindow.h"

bool FrameWindow::RegisterFrameClass(int iconId) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(GetModuleHandleA(nullptr), FrameWindow::kClassName, &wc)) return true;
  wc = WNDCLASSEXA{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = iconId ? LoadIconA(wc.hInstance, MAKEINTRESOURCEA(iconId)) : nullptr;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = FrameWindow::kClassName;
  return RegisterClassExA(&wc) != 0;
}

FrameWindow::~FrameWindow() {
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool FrameWindow::Create(const FrameParams& p) {
  if (!RegisterFrameClass(p.iconId)) return false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HMENU menu = p.menuId ? LoadMenuA(instance, MAKEINTRESOURCEA(p.menuId)) : nullptr;
  HWND hwnd =
      CreateWindowExA(0, kClassName, p.title.c_str(), p.style, p.rect.left, p.rect.top,
                      p.rect.right - p.rect.left, p.rect.bottom - p.rect.top, nullptr, menu, instance, this);
  if (!hwnd && menu) DestroyMenu(menu);
  return hwnd != nullptr;
}

LRESULT CALLBACK FrameWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FrameWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FrameWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT FrameWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (Dispatch(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_INITMENUPOPUP:
      // The window menu (Alt+Space) keeps its own items: only the program's menus are greyed.
      if (!HIWORD(lParam)) UpdateMenuItems(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_NCDESTROY: {
      // The frame is the program's main window: its end is the end of the message loop.
      HWND hwnd = hwnd_;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      PostQuitMessage(0);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    default:
      return DefWindowProcA(hwnd_, message, wParam, lParam);
  }
}

void FrameWindow::UpdateMenuItems(HMENU popup) const {
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    const UINT id = GetMenuItemID(popup, i);
    if (id == static_cast<UINT>(-1) || id == 0) continue;  // a sub-menu or a separator
    EnableMenuItem(popup, static_cast<UINT>(i),
                   MF_BYPOSITION | (HasCommandHandler(id) ? MF_ENABLED : MF_GRAYED));
  }
}
