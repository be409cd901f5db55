#include "console/ConsoleExchange.h"

#include <algorithm>
#include <array>

#include "ctapi/CtExchange.h"
#include "ctapi/ReturnCodeText.h"
#include "session/LastExchange.h"

int SendConsoleCommand(ConsoleState& state, const CtDriver& driver, std::uint16_t ctn,
                       std::span<const std::uint8_t> command) {
  // Received apart, so a failed call cannot spoil the response still on display.
  std::array<std::uint8_t, ConsoleState::kResponseCapacity> received;
  const CommandAddresses sent = state.addresses;
  const CtExchangeResult result =
      ExchangeCommand(driver, ctn, state.addresses.destination, state.addresses.source, command, received);
  const std::size_t answerLength = IsCtSuccess(result.rc) ? result.responseLength : 0;
  Exchanges().Record({ExchangePanel::TestConsole,
                      sent.destination,
                      sent.source,
                      state.addresses.source,
                      {command.begin(), command.end()},
                      result.rc,
                      {received.begin(), received.begin() + answerLength}});
  if (!IsCtSuccess(result.rc)) return result.rc;
  std::copy_n(received.begin(), result.responseLength, state.response.begin());
  state.responseLength = static_cast<std::uint16_t>(result.responseLength);
  RebuildResponseTexts(state);
  return result.rc;
}
