#pragma once
#include <memory>

#include "app/MainFrame.h"
#include "win/Application.h"

class KelvanorApp : public Application {
 protected:
  bool InitInstance(int showCommand) override;

 private:
  std::unique_ptr<MainFrame> mainFrame_;
};
