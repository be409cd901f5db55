#include "ctapi/ZemtrakDriver.h"

// Resolved through the ordinal-only import library of ZEMTRAK.DLL. Taking the address of all four
// here is what puts every one of them in the import table, so the program will not start without
// the driver.
extern "C" {
CtInitFn CT_init;
CtCloseFn CT_close;
CtDataFn CT_data;
CtVersionFn CT_version;
}

const CtDriver& ZemtrakDriver() {
  static const CtDriver driver{&CT_init, &CT_close, &CT_data, &CT_version};
  return driver;
}
