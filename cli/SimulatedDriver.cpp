#include "cli/DriverLibrary.h"
#include "common/IniFile.h"
#include "sim/zemtrak/Settings.h"
#include "sim/zemtrak/TerminalSim.h"

// Linked in rather than loaded beside the program: kelvanor-cli runs on a fresh build anywhere,
// and without --driver never reaches a real reader's driver that took ZEMTRAK.DLL's place.
namespace cli {
namespace {

sim::TerminalSim& Sim() {
  // Card files are named relative to the settings file's folder, as for libctapi-sim.so.
  static sim::TerminalSim terminal(sim::SettingsTextFromEnvironment, std::make_unique<sim::RealClock>(),
                                   {sim::SettingsFolderFromEnvironment, ini::ReadTextFile});
  return terminal;
}

signed char CTAPI_CALL SimInit(unsigned short ctn, unsigned short pn) {
  return static_cast<signed char>(Sim().Init(ctn, pn));
}
signed char CTAPI_CALL SimClose(unsigned short ctn) { return static_cast<signed char>(Sim().Close(ctn)); }
signed char CTAPI_CALL SimData(unsigned short ctn, unsigned char* dad, unsigned char* sad, unsigned short lenc,
                               unsigned char* command, unsigned short* lenr, unsigned char* response) {
  return static_cast<signed char>(Sim().Data(ctn, dad, sad, lenc, command, lenr, response));
}
signed char CTAPI_CALL SimVersion(char* buffer, int selector) {
  return static_cast<signed char>(Sim().Version(buffer, selector));
}

}  // namespace

const CtDriver& SimulatedDriver() {
  static const CtDriver driver{&SimInit, &SimClose, &SimData, &SimVersion};
  return driver;
}

}  // namespace cli
