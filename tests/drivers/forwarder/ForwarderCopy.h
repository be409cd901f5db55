#pragma once
// A copy of the forwarding ZEMTRAK.DLL in a folder of its own, with or without a ZEMTRAK.INI beside
// it, loaded the way Kelvanor binds it: the four functions by ordinal.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "ctapi/CtApi.h"

class ForwarderCopy {
 public:
  ForwarderCopy(const std::string& name, const std::optional<std::string>& settings);
  ~ForwarderCopy();
  ForwarderCopy(const ForwarderCopy&) = delete;
  ForwarderCopy& operator=(const ForwarderCopy&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  const CtDriver& Driver() const { return driver_; }
  const std::filesystem::path& Folder() const { return folder_; }
  // Where the forwarder looks for its settings, as it sees its own path.
  std::string SettingsPath() const;
  std::string Version() const;

 private:
  std::filesystem::path folder_;
  HMODULE module_ = nullptr;
  CtDriver driver_{};
};

// The folder of the running test program: bin/, where every built DLL is.
std::filesystem::path BinDirectory();
