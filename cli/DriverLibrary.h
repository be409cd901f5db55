#pragma once
// The CT-API driver a run or probe talks to: a library loaded by path or name (dlopen on Linux,
// LoadLibrary on Windows), or the simulated terminal built into the program when none is named.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "ctapi/CtApi.h"

namespace cli {

struct DriverChoice {
  std::string library;    // empty: the simulated terminal
  bool ordinals = false;  // Windows: Kelvanor's export ordinals 2 to 5 instead of the names
};

// An export of the loaded library by name, or by ordinal when name is empty; null when absent.
using FindExport = std::function<void*(std::string_view name, int ordinal)>;

// The four functions from a library's exports: by name (on 32-bit Windows also stdcall-decorated)
// or by ordinal. CT_version may be missing (not every driver has it); the other three may not:
// then the name of the first one missing.
std::variant<CtDriver, std::string> BindDriver(const FindExport& find, bool ordinals, bool stdcallNames);

// The driver to use; nothing, with a one-line reason, when the library cannot be loaded or is no
// CT-API driver. A loaded library stays loaded until the process ends.
std::optional<CtDriver> LoadDriver(const DriverChoice& choice, std::string& error);

// The simulated terminal of the program itself (the terminal of libctapi-sim.so and the simulated
// ZEMTRAK.DLL, with the settings file that ZEMTRAK_SIM_SETTINGS names).
const CtDriver& SimulatedDriver();

}  // namespace cli
