#include "tests/drivers/forwarder/ForwarderCopy.h"

#include <fstream>

namespace fs = std::filesystem;

namespace {
template <class F>
F* Ordinal(HMODULE module, int ordinal) {
  return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}
}  // namespace

fs::path BinDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

ForwarderCopy::ForwarderCopy(const std::string& name, const std::optional<std::string>& settings)
    : folder_(fs::temp_directory_path() / ("kelvanor-forwarder-" + name)) {
  fs::remove_all(folder_);
  fs::create_directories(folder_);
  fs::copy_file(BinDirectory() / "forwarder" / "ZEMTRAK.DLL", folder_ / "ZEMTRAK.DLL");
  if (settings) std::ofstream(folder_ / "ZEMTRAK.INI", std::ios::binary) << *settings;
  module_ = LoadLibraryA((folder_ / "ZEMTRAK.DLL").string().c_str());
  if (!module_) return;
  driver_ = {Ordinal<CtInitFn>(module_, 2), Ordinal<CtCloseFn>(module_, 3), Ordinal<CtDataFn>(module_, 4),
             Ordinal<CtVersionFn>(module_, 5)};
}

ForwarderCopy::~ForwarderCopy() {
  if (module_) FreeLibrary(module_);
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

std::string ForwarderCopy::SettingsPath() const {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module_, path, MAX_PATH);
  return (fs::path(path).parent_path() / "ZEMTRAK.INI").string();
}

std::string ForwarderCopy::Version() const {
  char text[120];
  FillMemory(text, sizeof text, '?');
  driver_.version(text, 3);
  return std::string(text, strnlen(text, sizeof text));
}
