#include "drivers/forwarder/win/WindowsPlatform.h"

#include <windows.h>

#include "common/win/ThisDll.h"
#include "drivers/forwarder/DriverSettings.h"

namespace forwarder {

std::string WindowsPlatform::SettingsPath() {
  return std::string(FolderOf(ModulePath(ThisDll()))) + std::string(kSettingsFileName);
}

Platform::FileRead WindowsPlatform::ReadText(const std::string& path, std::size_t limit) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {std::nullopt, GetLastError()};
  std::string text(limit + 1, '\0');
  std::size_t got = 0;
  DWORD n = 0;
  bool ok = true;
  while (got < text.size() &&
         (ok = ::ReadFile(file, text.data() + got, static_cast<DWORD>(text.size() - got), &n, nullptr)) &&
         n > 0)
    got += n;
  const DWORD error = ok ? 0 : GetLastError();
  CloseHandle(file);
  if (!ok) return {std::nullopt, error};
  text.resize(got);
  return {std::move(text), 0};
}

Platform::Loaded WindowsPlatform::Load(const std::string& name) {
  // A path lets the driver's own DLLs beside it be found; no error box for a missing one.
  const DWORD flags = FolderOf(name).empty() ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH;
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  HMODULE library = LoadLibraryExA(name.c_str(), nullptr, flags);
  const DWORD error = library ? 0 : GetLastError();
  SetThreadErrorMode(oldMode, nullptr);
  return {library, error};
}

void* WindowsPlatform::Find(void* library, const std::string& name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
}

std::string WindowsPlatform::LibraryPath(void* library) { return ModulePath(static_cast<HMODULE>(library)); }

void WindowsPlatform::Unload(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace forwarder
