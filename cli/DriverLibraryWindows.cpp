#include <windows.h>

#include "cli/DriverLibrary.h"
#include "drivers/forwarder/DriverSettings.h"

namespace cli {

std::optional<CtDriver> LoadDriver(const DriverChoice& choice, std::string& error) {
  if (choice.library.empty()) return SimulatedDriver();
  // A path lets the driver's own DLLs beside it be found; no error box for a missing one.
  const DWORD flags = forwarder::FolderOf(choice.library).empty() ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH;
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  HMODULE library = LoadLibraryExA(choice.library.c_str(), nullptr, flags);
  const DWORD loadError = library ? 0 : GetLastError();
  SetThreadErrorMode(oldMode, nullptr);
  if (!library) {
    error = "cannot load " + choice.library + " (error " + std::to_string(loadError) +
            (loadError == ERROR_BAD_EXE_FORMAT ? ": not for this architecture)" : ")");
    return std::nullopt;
  }
  constexpr bool kStdcallNames = sizeof(void*) == 4;
  const auto bound = BindDriver(
      [library](std::string_view name, int ordinal) {
        const FARPROC address = name.empty() ? GetProcAddress(library, MAKEINTRESOURCEA(ordinal))
                                             : GetProcAddress(library, std::string(name).c_str());
        return reinterpret_cast<void*>(address);
      },
      choice.ordinals, kStdcallNames);
  if (const std::string* missing = std::get_if<std::string>(&bound)) {
    FreeLibrary(library);
    error = choice.library + " is no CT-API driver: it has no " + *missing;
    return std::nullopt;
  }
  return std::get<CtDriver>(bound);
}

}  // namespace cli
