#include "bcs/StatusEvaluation.h"

#include <algorithm>
#include <string>

#include "ctapi/ReturnCodeText.h"

namespace {

constexpr std::size_t kStatusWordCount = 2;

struct ManufacturerField {
  std::size_t length;
  std::string_view messageLabel;
  std::string_view resultLabel;
  bool blanksInMessage;
};

constexpr ManufacturerField kManufacturerFields[] = {
    {2, "Country code:\t", "Country code:  ", true},
    {3, "\nManufacturer:\t", "\nManufacturer:   ", true},
    {5, "\nCT Type:\t\t", "\nCT Type:      ", false},
    {5, "\nCT SW Version:\t", "\nCT SW Version: ", false},
};

// The fields end where the data ends: a short answer shows neither its status words nor anything an
// earlier answer left in the buffer as characters.
Outcome ManufacturerData(std::span<const std::uint8_t> response) {
  const std::size_t dataLength = response.size() - std::min(response.size(), kStatusWordCount);
  std::string message;
  std::string result = ">";
  std::size_t position = 0;
  for (const ManufacturerField& field : kManufacturerFields) {
    message += field.messageLabel;
    result += field.resultLabel;
    for (std::size_t end = position + field.length; position < end; ++position) {
      if (position >= dataLength) continue;
      const char c = static_cast<char>(response[position]);
      if (field.blanksInMessage || c != ' ') message += c;
      result += c;
    }
  }
  return {message, Icon::Information, result};
}

Outcome RowOutcome(const StatusRow& row, std::span<const std::uint8_t> response, const std::string& status,
                   std::size_t matchPosition) {
  switch (row.answer) {
    case Answer::Fixed:
      return {std::string(row.message), row.icon, ">" + std::string(row.result), row.effect};
    case Answer::Atr:
      return {std::string(row.message) + "ATR:\n" + status.substr(0, matchPosition), row.icon, ">" + status,
              row.effect};
    case Answer::IccStatusByte: {
      // A match needs at least the two bytes of a status word, so the first byte is there.
      const std::string text(IccStatusText(response.front()));
      return {text, row.icon, ">" + text, row.effect};
    }
    case Answer::ManufacturerData:
      return ManufacturerData(response);
  }
  return {};
}

}  // namespace

std::string_view IccStatusText(std::uint8_t status) {
  switch (status) {
    case 0:
      return "No ICC inserted.";
    case 1:
      return "No ICC information.";
    case 3:
      return "ICC electrically not connected.";
    case 5:
      return "ICC electrically connected.";
    default:
      return "Invalid ICC Status.";
  }
}

Outcome EvaluateResponse(const BcsOperation& operation, std::span<const std::uint8_t> response) {
  std::string status = ResponseText(response, operation.form);
  if (operation.upperCase) status = UpperCase(std::move(status));
  for (const StatusRow& row : operation.rows) {
    const std::size_t position = status.find(row.pattern);
    if (position == std::string::npos) continue;
    if (row.statusWordsOnly && response.size() != kStatusWordCount) continue;
    return RowOutcome(row, response, status, position);
  }
  const FailureRow& failure = operation.failure;
  const std::size_t tailLength = operation.form == HexForm::Compact ? 4 : 6;
  const std::string tail =
      failure.wholeText ? status : status.substr(status.size() - std::min(status.size(), tailLength));
  return {std::string(failure.message) + tail, Icon::Stop, std::string(failure.result) + tail};
}

Outcome DriverErrorOutcome(int rc, std::string_view errorPrefix) {
  const std::string text = DriverErrorText(rc, errorPrefix);
  return {text, Icon::Stop, ">" + text};
}
