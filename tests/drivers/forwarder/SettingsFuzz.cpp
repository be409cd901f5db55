// ZEMTRAK.INI as the forwarder reads it, with any bytes in it.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "drivers/forwarder/DriverSettings.h"
#include "drivers/forwarder/StatusText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto library = forwarder::LibraryFromSettings(text);
  if (const auto* name = std::get_if<std::string>(&library)) {
    if (name->empty() || name->size() > forwarder::kMaxLibraryName) __builtin_trap();
    const std::string load = forwarder::ResolveLibrary(*name, "C:\\kelvanor\\ZEMTRAK.INI");
    if (forwarder::FailureText({forwarder::Failure::NotLoadable, load, 126}).size() >
        forwarder::kStatusLength)
      __builtin_trap();
  }
  return 0;
}
