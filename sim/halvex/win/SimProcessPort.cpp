#include <cstdlib>

#include "firmware/win/MessagePump.h"
#include "firmware/win/ProcessPort.h"
#include "sim/halvex/Scenario.h"
#include "sim/halvex/SimBus.h"

namespace halvex {

namespace {

// The simulated machine behind the demonstration DLL: ports and clock are
// simulated, the message queue is the caller's real one.
class SimulatedMachine final : public halvexsim::SimBus {
 public:
  explicit SimulatedMachine(const halvexsim::Scenario& sc) : SimBus(sc.clockStart, sc.msPerTickRead) {
    SetRecording(false);
    if (sc.cardFitted) AddCard(sc.card);
  }
  Dispatched DispatchOneMessage() override { return PumpOneMessage(); }
  void RepostQuit(int exitCode) override { PostQuitAgain(exitCode); }
};

halvexsim::Scenario ScenarioFromEnvironment() {
  const char* text = std::getenv("HALVEX_SIM");
  if (const auto sc = halvexsim::ParseScenario(text ? text : "")) return *sc;
  // A scenario that cannot be read gives an empty machine, so the check says 2.
  halvexsim::Scenario empty;
  empty.cardFitted = false;
  return empty;
}

}  // namespace

ReaderPort& ProcessPort() {
  static SimulatedMachine machine(ScenarioFromEnvironment());
  return machine;
}

}  // namespace halvex
