#pragma once
// The forwarder's system side on Windows: the settings file beside this DLL, and the driver library
// through the system's loader.
#include "drivers/forwarder/Forwarder.h"

namespace forwarder {

class WindowsPlatform : public Platform {
 public:
  std::string SettingsPath() override;
  FileRead ReadText(const std::string& path, std::size_t limit) override;
  Loaded Load(const std::string& name) override;
  void* Find(void* library, const std::string& name) override;
  std::string LibraryPath(void* library) override;
  void Unload(void* library) override;
};

}  // namespace forwarder
