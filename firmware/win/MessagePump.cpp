#include "firmware/win/MessagePump.h"

#include <windows.h>

namespace halvex {

ReaderPort::Dispatched PumpOneMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return {};
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  if (msg.message == WM_QUIT) return {true, true, static_cast<int>(msg.wParam)};
  return {true, false, 0};
}

void PostQuitAgain(int exitCode) { PostQuitMessage(exitCode); }

}  // namespace halvex
