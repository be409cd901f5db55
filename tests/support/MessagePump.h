#pragma once
// Runs the messages waiting for this thread, as the program's loop would (modeless dialogs
// included), so that posted commands take effect before a test looks.
#include <windows.h>

#include "win/Dialog.h"

inline void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (Dialog::PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
