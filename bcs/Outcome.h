#pragma once
// What one button of the panel ends with: a message box, a result line and perhaps new buttons.
#include <string>

// The values are the message box styles' icon bits.
enum class Icon : unsigned { None = 0x00, Stop = 0x10, Exclamation = 0x30, Information = 0x40 };

enum class PanelEffect {
  None,
  SessionOpened,
  SessionClosed,
  // Reset CT succeeded: the card buttons become usable, unless they already are.
  CardButtonsUnlocked,
};

struct Outcome {
  std::string message;
  Icon icon = Icon::Stop;
  std::string result;  // the log's result line, without its line end
  PanelEffect effect = PanelEffect::None;

  bool operator==(const Outcome&) const = default;
};
