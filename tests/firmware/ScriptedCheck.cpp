#include "tests/firmware/ScriptedCheck.h"

#include <cstdio>

#include "firmware/FirmwareCheck.h"
#include "sim/halvex/SimBus.h"
#include "tests/firmware/CheckedPort.h"

namespace halvextest {

namespace {

bool Documented(int32_t result) {
  namespace r = halvex::result;
  return result == r::Recent || result == r::Older || result == r::NoReader || result == r::ExchangeFailed ||
         result == r::TooOld;
}

}  // namespace

CheckOutcome RunCardScript(const CardScript& script) {
  halvexsim::SimBus bus(script.clockStart, script.msPerTickRead);
  bus.SetRecording(false);
  if (script.cardFitted) bus.AddCard(script.card);
  if (script.secondCard) {
    halvexsim::CardConfig honest;
    const auto& bases = halvex::CandidateBases;
    for (size_t i = 0; i < bases.size(); ++i) {
      if (bases[i] == script.card.base) honest.base = bases[(i + 3) % bases.size()];
    }
    bus.AddCard(honest);
  }
  for (int i = 0; i < script.messages; ++i) bus.QueueMessage(i);
  if (script.quit) bus.QueueQuit(script.quitExitCode, script.quitAfterMs);

  CheckedPort port(bus);
  halvex::ReaderLink link(port);
  CheckOutcome outcome;
  for (int call = 0; call < script.calls; ++call) {
    port.BeginCall();
    const int32_t result = halvex::CheckFirmWare(link);
    port.EndCall();
    outcome.results.push_back(result);
    char text[64];
    if (!Documented(result)) {
      std::snprintf(text, sizeof text, "result %d is not a documented code", result);
      outcome.violations.push_back(text);
    }
    if (link.controlByte & 0xF0) {
      std::snprintf(text, sizeof text, "control byte 0x%02x kept after the call", link.controlByte);
      outcome.violations.push_back(text);
    }
  }
  outcome.repostedQuits = bus.RepostedQuits();
  outcome.violations.insert(outcome.violations.begin(), port.Violations().begin(), port.Violations().end());
  return outcome;
}

}  // namespace halvextest
