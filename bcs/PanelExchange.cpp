#include "bcs/PanelExchange.h"

#include "bcs/StatusEvaluation.h"
#include "ctapi/CtExchange.h"
#include "ctapi/ReturnCodeText.h"
#include "session/LastExchange.h"

Outcome PanelExchange::Send(const CtDriver& driver, std::uint16_t ctn, const BcsOperation& operation,
                            std::span<const std::uint8_t> command) {
  std::uint8_t dad = kAddressTerminal;
  std::uint8_t sad = kAddressHost;
  const CtExchangeResult result = ExchangeCommand(driver, ctn, dad, sad, command, response_);
  const auto answer =
      std::span<const std::uint8_t>(response_).first(IsCtSuccess(result.rc) ? result.responseLength : 0);
  Exchanges().Record({ExchangePanel::CtBcs,
                      kAddressTerminal,
                      kAddressHost,
                      sad,
                      {command.begin(), command.end()},
                      result.rc,
                      {answer.begin(), answer.end()}});
  if (!IsCtSuccess(result.rc)) return DriverErrorOutcome(result.rc, operation.errorPrefix);
  return EvaluateResponse(operation, answer);
}
