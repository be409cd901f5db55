#pragma once
// The six CT-BCS commands of the panel, each described by data: the bytes it sends, its texts, the
// form of its response text and the table its status words are judged by.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bcs/CardParameters.h"
#include "bcs/Outcome.h"
#include "bcs/ResponseText.h"

enum class Answer {
  Fixed,          // the row's own message and result
  Atr,            // message: the row's text, "ATR:\n" and what precedes the pattern; result: the status text
  IccStatusByte,  // the first response byte explained
  ManufacturerData,  // country code, manufacturer, type and version of the terminal
};

struct StatusRow {
  std::string_view pattern;
  bool statusWordsOnly;  // matches only a response of exactly the two status bytes
  Answer answer;
  Icon icon = Icon::Information;
  std::string_view message = {};
  std::string_view result = {};  // after ">"
  PanelEffect effect = PanelEffect::None;
};

// When no row matches: the literals followed by a tail of the status text.
struct FailureRow {
  std::string_view message;  // ends "\nStatus:\n"
  std::string_view result;   // begins with ">"
  bool wholeText;            // else the last two converted bytes
};

struct BcsOperation {
  std::string_view name;
  // Request and Eject ICC complete the timer value (and Eject ICC the signal) from the card
  // parameters; the others send these bytes as they are.
  std::span<const std::uint8_t> bytes;
  std::optional<CardDirection> direction;
  std::string_view inputLabel;  // the fixed commands' label, four blanks after "2,1"
  std::string_view logLine;     // the fixed commands' log line, one blank after "2,1"
  HexForm form;
  bool upperCase;  // the status text is searched in upper case
  std::string_view errorPrefix;
  std::span<const StatusRow> rows;
  FailureRow failure;

  // Commands that wait for the user log their command before the terminal answers.
  bool LogsBeforeSending() const { return direction.has_value(); }
};

extern const BcsOperation kResetCt;
extern const BcsOperation kResetIcc;
extern const BcsOperation kRequestIcc;
extern const BcsOperation kEjectIcc;
extern const BcsOperation kIccStatus;
extern const BcsOperation kCtInfo;

struct PreparedCommand {
  std::vector<std::uint8_t> bytes;
  std::string inputLabel;
  std::string logLine;
};

PreparedCommand Prepare(const BcsOperation& operation, const CardParameters& params);
