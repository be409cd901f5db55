#include "console/ConsoleButtons.h"

namespace {
constexpr ButtonChange K = ButtonChange::Keep, E = ButtonChange::Enable, D = ButtonChange::Disable;
using Row = std::array<ButtonChange, kConsoleButtonCount>;
}  // namespace

std::array<ButtonChange, kConsoleButtonCount> ButtonChanges(ConsoleEvent event, bool fileChosen) {
  //                  CtInit CtClose CtData ResetCt ResetIcc OpenFile ModifyList NextCommand Close
  switch (event) {
    case ConsoleEvent::Opened:
      return Row{E, D, D, D, D, D, D, D, E};
    case ConsoleEvent::InitSucceeded:
      return Row{D, E, D, E, K, D, K, K, D};
    case ConsoleEvent::CloseFailed:
      return Row{K, K, K, K, K, K, K, K, E};
    case ConsoleEvent::CloseSucceeded:
      return Row{E, D, D, D, D, D, D, D, E};
    case ConsoleEvent::ResetCtSucceeded:
      return Row{D, E, E, K, E, E, E, fileChosen ? E : K, K};
    case ConsoleEvent::ResetIccSucceeded:
      return Row{K, K, E, K, K, E, K, K, K};
    case ConsoleEvent::DataSending:
      return Row{K, D, D, D, D, K, K, K, K};
    case ConsoleEvent::DataDone:
      return Row{K, E, E, E, E, K, K, K, K};
    case ConsoleEvent::FileLoaded:
      return Row{K, K, K, K, K, K, E, E, K};
    case ConsoleEvent::EditorClosed:
      return Row{K, K, K, K, K, K, K, E, K};
  }
  return Row{K, K, K, K, K, K, K, K, K};
}
