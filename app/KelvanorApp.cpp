#include "app/KelvanorApp.h"

#include "session/LogPath.h"
#include "session/SessionLog.h"

namespace {
std::string CurrentDirectory() {
  char buffer[kCurrentDirectoryBufferSize] = {};
  const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}
}  // namespace

bool KelvanorApp::InitInstance(int showCommand) {
  mainFrame_ = std::make_unique<MainFrame>();
  if (!mainFrame_->Handle()) return false;
  ShowWindow(mainFrame_->Handle(), showCommand);
  Log().SetPath(BuildLogPath(CurrentDirectory()));
  return true;
}
