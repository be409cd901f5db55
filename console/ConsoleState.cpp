#include "console/ConsoleState.h"

#include <algorithm>

ConsoleState& Console() {
  static ConsoleState state;
  return state;
}

void ResetForNewConsole(ConsoleState& state, CommandLists& lists) {
  lists.commandCount = lists.descriptionCount = 0;
  lists.commandSelection = lists.descriptionSelection = 0;
  state.commandEdited = false;
  state.fileChosen = false;
  state.responseLength = 0;
  state.displayMode = DisplayMode::Hex;
  state.displayText.clear();
  state.logText.clear();
  state.lineCount = 0;
  state.scrollPosition = 0;
}

void ReleaseResponseTexts(ConsoleState& state) {
  std::string().swap(state.displayText);
  std::string().swap(state.logText);
}

bool RebuildResponseTexts(ConsoleState& state) {
  if (state.responseLength == 0) return false;
  const std::size_t length = std::min<std::size_t>(state.responseLength, state.response.size());
  FormattedResponse formatted =
      FormatResponse(std::span(state.response).first(length), state.addresses.source,
                     state.addresses.destination, state.displayMode);
  state.displayText = std::move(formatted.display);
  state.logText = std::move(formatted.log);
  state.lineCount = formatted.lineCount;
  if (state.lineCount > 2) state.scrollPosition = 0;
  return true;
}
