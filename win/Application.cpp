#include "win/Application.h"

#include "win/Dialog.h"

int Application::Run(int showCommand) {
  if (!InitInstance(showCommand)) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (Dialog::PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
