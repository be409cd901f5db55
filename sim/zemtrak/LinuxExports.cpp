// libctapi-sim.so: the simulated terminal for Linux CT-API clients. The settings file is the one
// ZEMTRAK_SIM_SETTINGS names; without it the defaults hold.
#include "sim/zemtrak/Settings.h"
#include "sim/zemtrak/TerminalSim.h"

namespace {
sim::TerminalSim& Sim() {
  static sim::TerminalSim terminal(sim::SettingsTextFromEnvironment);
  return terminal;
}
}  // namespace

#define CTAPI_EXPORT extern "C"  // ctapi-sim.map keeps everything else local

CTAPI_EXPORT signed char CT_init(unsigned short ctn, unsigned short pn) {
  return static_cast<signed char>(Sim().Init(ctn, pn));
}

CTAPI_EXPORT signed char CT_close(unsigned short ctn) { return static_cast<signed char>(Sim().Close(ctn)); }

CTAPI_EXPORT signed char CT_data(unsigned short ctn, unsigned char* dad, unsigned char* sad,
                                 unsigned short lenc, unsigned char* command, unsigned short* lenr,
                                 unsigned char* response) {
  return static_cast<signed char>(Sim().Data(ctn, dad, sad, lenc, command, lenr, response));
}

CTAPI_EXPORT signed char CT_version(char* buffer, int selector) {
  return static_cast<signed char>(Sim().Version(buffer, selector));
}
