#include "cli/DriverLibrary.h"

#include "drivers/forwarder/DriverSettings.h"

namespace cli {

std::variant<CtDriver, std::string> BindDriver(const FindExport& find, bool ordinals, bool stdcallNames) {
  const auto lookup = [&](std::string_view function, int argumentBytes, int ordinal) -> void* {
    if (ordinals) return find({}, ordinal);
    for (const std::string& name : forwarder::ExportNames(function, argumentBytes, stdcallNames))
      if (void* address = find(name, 0)) return address;
    return nullptr;
  };
  const CtDriver driver{reinterpret_cast<CtInitFn*>(lookup("CT_init", 4 + 4, 2)),
                        reinterpret_cast<CtCloseFn*>(lookup("CT_close", 4, 3)),
                        reinterpret_cast<CtDataFn*>(lookup("CT_data", 7 * 4, 4)),
                        reinterpret_cast<CtVersionFn*>(lookup("CT_version", 4 + 4, 5))};
  if (!driver.init) return ordinals ? "CT_init (ordinal 2)" : "CT_init";
  if (!driver.close) return ordinals ? "CT_close (ordinal 3)" : "CT_close";
  if (!driver.data) return ordinals ? "CT_data (ordinal 4)" : "CT_data";
  return driver;
}

}  // namespace cli
