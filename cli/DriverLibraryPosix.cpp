#include <dlfcn.h>

#include "cli/DriverLibrary.h"

namespace cli {

std::optional<CtDriver> LoadDriver(const DriverChoice& choice, std::string& error) {
  if (choice.library.empty()) return SimulatedDriver();
  if (choice.ordinals) {
    error = "--ordinals: a shared library has no export ordinals (they are for Windows DLLs)";
    return std::nullopt;
  }
  // A name without a slash goes through the loader's own search, as for any program.
  void* library = dlopen(choice.library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    error = "cannot load " + choice.library + (why ? std::string(": ") + why : std::string());
    return std::nullopt;
  }
  const auto bound = BindDriver(
      [library](std::string_view name, int) { return dlsym(library, std::string(name).c_str()); }, false, false);
  if (const std::string* missing = std::get_if<std::string>(&bound)) {
    dlclose(library);
    error = choice.library + " is no CT-API driver: it has no " + *missing;
    return std::nullopt;
  }
  return std::get<CtDriver>(bound);
}

}  // namespace cli
