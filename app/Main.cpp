#include <windows.h>

#include "app/KelvanorApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  static KelvanorApp app;
  return app.Run(showCommand);
}
