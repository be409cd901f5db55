// ZEMTRAK.DLL as a forwarder: the CT-API exports at Kelvanor's ordinals, passed on to the driver
// ZEMTRAK.INI names. Nothing happens in DllMain; the driver is loaded by the first call.
#include "ctapi/CtApi.h"
#include "drivers/forwarder/Forwarder.h"
#include "drivers/forwarder/win/WindowsPlatform.h"

namespace {
forwarder::Forwarder& Driver() {
  static forwarder::WindowsPlatform platform;
  static forwarder::Forwarder driver(platform);
  return driver;
}
}  // namespace

extern "C" {

signed char CTAPI_CALL CT_init(unsigned short ctn, unsigned short pn) {
  return static_cast<signed char>(Driver().Init(ctn, pn));
}

signed char CTAPI_CALL CT_close(unsigned short ctn) { return static_cast<signed char>(Driver().Close(ctn)); }

signed char CTAPI_CALL CT_data(unsigned short ctn, unsigned char* dad, unsigned char* sad,
                               unsigned short lenc, unsigned char* command, unsigned short* lenr,
                               unsigned char* response) {
  return static_cast<signed char>(Driver().Data(ctn, dad, sad, lenc, command, lenr, response));
}

signed char CTAPI_CALL CT_version(char* buffer, int selector) {
  return static_cast<signed char>(Driver().Version(buffer, selector));
}

}  // extern "C"

// The exports keep the types the program's binding calls them with.
[[maybe_unused]] static CtInitFn* const kCheckInit = &CT_init;
[[maybe_unused]] static CtCloseFn* const kCheckClose = &CT_close;
[[maybe_unused]] static CtDataFn* const kCheckData = &CT_data;
[[maybe_unused]] static CtVersionFn* const kCheckVersion = &CT_version;
