#include "bcs/SessionCommands.h"

#include "bcs/StatusEvaluation.h"
#include "ctapi/ReturnCodeText.h"

namespace {
Outcome Success(const std::string& text, PanelEffect effect) {
  return {text, Icon::Information, ">" + text, effect};
}
}  // namespace

Outcome InitTerminal(const CtDriver& driver, const SessionSettings& settings) {
  const int rc = driver.init(settings.ctn, settings.ptn);
  if (!IsCtSuccess(rc)) return DriverErrorOutcome(rc, "Error CT_init RC-code = ");
  return Success("CT_init ok!", PanelEffect::SessionOpened);
}

Outcome CloseTerminal(const CtDriver& driver, const SessionSettings& settings) {
  const int rc = driver.close(settings.ctn);
  if (!IsCtSuccess(rc)) return DriverErrorOutcome(rc, "Error CT_close RC-code = ");
  return Success("CT_close ok!", PanelEffect::SessionClosed);
}

std::string InitLogLine(const SessionSettings& settings) {
  return "CT_init (CTn: " + std::to_string(settings.ctn) + ", PTn: " + std::to_string(settings.ptn) + ")\n";
}

std::string CloseLogLine(const SessionSettings& settings) {
  return "CT_close (CTn: " + std::to_string(settings.ctn) + ")\n";
}
