#pragma once
// Which of the console's buttons each event enables or disables. The terminal session has no
// state of its own: it shows only in these buttons.
#include <array>

enum class ConsoleButton {
  CtInit,
  CtClose,
  CtData,
  ResetCt,
  ResetIcc,
  OpenFile,
  ModifyList,
  NextCommand,
  Close
};
constexpr int kConsoleButtonCount = 9;

enum class ConsoleEvent {
  Opened,
  InitSucceeded,
  CloseFailed,
  CloseSucceeded,
  ResetCtSucceeded,
  ResetIccSucceeded,
  DataSending,  // a command text was accepted and is going out
  DataDone,     // after the call, whatever its result
  FileLoaded,
  EditorClosed,
};

enum class ButtonChange { Keep, Enable, Disable };

// Indexed by ConsoleButton. After a successful Reset CT, Next Command depends on whether a request
// file was chosen in this console.
std::array<ButtonChange, kConsoleButtonCount> ButtonChanges(ConsoleEvent event, bool fileChosen);
