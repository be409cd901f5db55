#pragma once
// The program object: start-up in InitInstance, then the message loop until the main window goes.
#include <windows.h>

class Application {
 public:
  virtual ~Application() = default;
  int Run(int showCommand);

 protected:
  // false ends the program at once.
  virtual bool InitInstance(int showCommand) = 0;
};
