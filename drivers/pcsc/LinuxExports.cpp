// libctapi-pcsc.so: PC/SC readers for Linux CT-API clients, over pcsc-lite. The environment
// variable ZEMTRAK_PCSC_READER may name the reader by part of its name.
#include <cstdlib>

#include "drivers/pcsc/PcscBridge.h"
#include "drivers/pcsc/SystemApi.h"

namespace {
std::string ReaderName() {
  const char* name = std::getenv("ZEMTRAK_PCSC_READER");
  return name ? name : "";
}

// Never destroyed, like the Windows driver's: no pcsc-lite calls from exit handlers.
pcsc::PcscBridge& Bridge() {
  static auto* bridge = new pcsc::PcscBridge(pcsc::SystemApi(), ReaderName);
  return *bridge;
}
}  // namespace

#define CTAPI_EXPORT extern "C"  // ctapi-pcsc.map keeps everything else local

CTAPI_EXPORT signed char CT_init(unsigned short ctn, unsigned short pn) {
  return static_cast<signed char>(Bridge().Init(ctn, pn));
}

CTAPI_EXPORT signed char CT_close(unsigned short ctn) {
  return static_cast<signed char>(Bridge().Close(ctn));
}

CTAPI_EXPORT signed char CT_data(unsigned short ctn, unsigned char* dad, unsigned char* sad,
                                 unsigned short lenc, unsigned char* command, unsigned short* lenr,
                                 unsigned char* response) {
  return static_cast<signed char>(Bridge().Data(ctn, dad, sad, lenc, command, lenr, response));
}

CTAPI_EXPORT signed char CT_version(char* buffer, int selector) {
  return static_cast<signed char>(Bridge().Version(buffer, selector));
}
