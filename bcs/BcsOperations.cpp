#include "bcs/BcsOperation.h"

namespace {

constexpr std::uint8_t kResetCtBytes[] = {0x20, 0x11, 0x00, 0x00};
constexpr std::uint8_t kResetIccBytes[] = {0x20, 0x11, 0x01, 0x01};
// The last three bytes are the timer data object: tag 80, length 01, the waiting time.
constexpr std::uint8_t kRequestIccBytes[] = {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x00};
constexpr std::uint8_t kEjectIccBytes[] = {0x20, 0x15, 0x01, 0x00, 0x03, 0x80, 0x01, 0x00};
constexpr std::size_t kSignalByte = 3;
constexpr std::size_t kTimerByte = 7;
constexpr std::uint8_t kIccStatusBytes[] = {0x20, 0x13, 0x00, 0x80};
constexpr std::uint8_t kCtInfoBytes[] = {0x20, 0x13, 0x00, 0x46};

// Reset CT searches its text in lower case; its patterns hold no letters.
constexpr StatusRow kResetCtRows[] = {
    {"9000", false, Answer::Fixed, Icon::Information, "Reset successful.", "Reset successful.",
     PanelEffect::CardButtonsUnlocked},
    {"6400", false, Answer::Fixed, Icon::Stop, "Reset not successful!", "Reset not successful."},
};

constexpr StatusRow kResetIccRows[] = {
    {"90 00", false, Answer::Atr, Icon::Information, "Synchronous ICC, reset successful.\n"},
    {"90 01", false, Answer::Atr, Icon::Information, "Asynchronous ICC, reset successful.\n"},
    {"64 00", true, Answer::Fixed, Icon::Stop, "Reset ICC not successful!", "Reset ICC not successful!"},
    {"64 A1", true, Answer::Fixed, Icon::Stop, "Reset ICC not successful, no SmartCard detected!",
     "Reset ICC not successful, no SmartCard detected!"},
};

constexpr StatusRow kRequestIccRows[] = {
    {"90 00", false, Answer::Atr, Icon::Information, "Synchronous ICC presented, reset successful.\n"},
    {"90 01", false, Answer::Atr, Icon::Information, "Asynchronous ICC presented, reset successful.\n"},
    {"64 00", true, Answer::Fixed, Icon::Stop, "Reset ICC not successful!", "Reset ICC not successful!"},
    {"64 A1", true, Answer::Fixed, Icon::Stop, "Reset ICC not successful, no SmartCard detected!",
     "Reset ICC not successful, no SmartCard detected!"},
    {"62 00", true, Answer::Fixed, Icon::Exclamation, "Warning: No card presented within specified time!",
     "Warning: No card presented within specified time!"},
    {"62 01", true, Answer::Fixed, Icon::Exclamation, "Warning: ICC already present and activated!",
     "Warning: ICC already present and activated!"},
    {"69 00", true, Answer::Fixed, Icon::Stop, "Command with timer not supported!",
     "Command with timer not supported!"},
};

constexpr StatusRow kEjectIccRows[] = {
    {"90 00", false, Answer::Fixed, Icon::Information, "Command successful.", "Command successful."},
    {"90 01", false, Answer::Fixed, Icon::Information, "Command successful, Card removed.",
     "Command successful, Card removed."},
    {"62 00", true, Answer::Fixed, Icon::Exclamation, "Warning: Card not removed within specified time!",
     "Warning: Card not removed within specified time!"},
};

constexpr StatusRow kIccStatusRows[] = {
    {"9000", false, Answer::IccStatusByte},
    {"9001", false, Answer::IccStatusByte},
};

constexpr StatusRow kCtInfoRows[] = {
    {"9000", false, Answer::ManufacturerData},
    {"9001", false, Answer::ManufacturerData},
};

// Request and Eject ICC report a failure in the Reset ICC wording, in the log as in the formats.
constexpr std::string_view kResetIccFailureResult = ">Reset ICC not successful.\nStatus:\n";
constexpr std::string_view kResetIccError = "Error Reset ICC RC-Code = ";

}  // namespace

const BcsOperation kResetCt{"Reset CT",
                            kResetCtBytes,
                            std::nullopt,
                            "2,1    20110000",
                            "2,1 20110000\n",
                            HexForm::Compact,
                            false,
                            "Error Reset CT RC-Code = ",
                            kResetCtRows,
                            {"Reset not successful.\nStatus:\n", ">Reset not successful.\nStatus:\n", true}};

const BcsOperation kResetIcc{"Reset ICC",
                             kResetIccBytes,
                             std::nullopt,
                             "2,1    20110101",
                             "2,1 20110101\n",
                             HexForm::Spaced,
                             true,
                             kResetIccError,
                             kResetIccRows,
                             {"Reset ICC not successful.\nStatus:\n", kResetIccFailureResult, false}};

const BcsOperation kRequestIcc{"Request ICC",
                               kRequestIccBytes,
                               CardDirection::Insertion,
                               {},
                               {},
                               HexForm::Spaced,
                               true,
                               kResetIccError,
                               kRequestIccRows,
                               {"Request ICC not successful.\nStatus:\n", kResetIccFailureResult, false}};

const BcsOperation kEjectIcc{"Eject ICC",
                             kEjectIccBytes,
                             CardDirection::Removal,
                             {},
                             {},
                             HexForm::Spaced,
                             true,
                             kResetIccError,
                             kEjectIccRows,
                             {"Eject ICC not successful.\nStatus:\n", kResetIccFailureResult, false}};

const BcsOperation kIccStatus{
    "ICC status",
    kIccStatusBytes,
    std::nullopt,
    "2,1    20130080",
    "2,1 20130080\n",
    HexForm::Compact,
    true,
    "Error ICC Status RC-Code = ",
    kIccStatusRows,
    {"ICC Status not successful.\nStatus:\n", ">ICC Status not successful.\nStatus:\n", false}};

const BcsOperation kCtInfo{
    "CT info",
    kCtInfoBytes,
    std::nullopt,
    "2,1    20130046",
    "2,1 20130046\n",
    HexForm::Compact,
    true,
    "Error CT Info RC-Code = ",
    kCtInfoRows,
    {"CT Info not successful.\nStatus:\n", ">CT Info not successful.\nStatus:\n", false}};

PreparedCommand Prepare(const BcsOperation& operation, const CardParameters& params) {
  PreparedCommand command{{operation.bytes.begin(), operation.bytes.end()},
                          std::string(operation.inputLabel),
                          std::string(operation.logLine)};
  if (!operation.direction) return command;
  command.bytes[kTimerByte] = static_cast<std::uint8_t>(params.waitingTime & 0xFF);
  if (*operation.direction == CardDirection::Removal)
    command.bytes[kSignalByte] = params.acousticSignal ? 1 : 0;
  command.inputLabel = CommandNotation(command.bytes);
  command.logLine = command.inputLabel + "\n";
  return command;
}
