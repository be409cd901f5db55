#include "decode/StatusWord.h"

#include "decode/Hex.h"
#include "decode/TextRows.h"

namespace decode {
namespace {

struct StatusGroup {
  std::uint8_t sw1;
  StatusKind kind;
  std::string_view text;
};

constexpr StatusGroup kGroups[] = {
    {0x90, StatusKind::Normal, "Normal processing"},
    {0x61, StatusKind::Normal, "Normal processing"},
    {0x62, StatusKind::Warning, "Warning: non-volatile memory unchanged"},
    {0x63, StatusKind::Warning, "Warning: non-volatile memory changed"},
    {0x64, StatusKind::ExecutionError, "Execution error: non-volatile memory unchanged"},
    {0x65, StatusKind::ExecutionError, "Execution error: non-volatile memory changed"},
    {0x66, StatusKind::ExecutionError, "Execution error: security-related issue"},
    {0x67, StatusKind::CheckingError, "Checking error: wrong length"},
    {0x68, StatusKind::CheckingError, "Checking error: functions in CLA not supported"},
    {0x69, StatusKind::CheckingError, "Checking error: command not allowed"},
    {0x6A, StatusKind::CheckingError, "Checking error: wrong parameters P1-P2"},
    {0x6B, StatusKind::CheckingError, "Checking error: wrong parameters P1-P2"},
    {0x6C, StatusKind::CheckingError, "Checking error: wrong Le field"},
    {0x6D, StatusKind::CheckingError, "Checking error: instruction code not supported or invalid"},
    {0x6E, StatusKind::CheckingError, "Checking error: class not supported"},
    {0x6F, StatusKind::CheckingError, "Checking error: no precise diagnosis"},
};

constexpr StatusGroup kUnknownGroup{0, StatusKind::Unknown, "Not a status word of ISO/IEC 7816-4"};
constexpr std::string_view kTerminalGroup = "Card terminal (CT-BCS)";

// Where a meaning takes a number from SW2: '#' stands for it in the text.
enum class Count { None, Sw2, LowNibble };

struct StatusRow {
  std::uint8_t sw1;
  std::uint8_t sw2First, sw2Last;
  std::string_view meaning;
  Count count = Count::None;
};

// First match wins, so single status words come before the ranges that include them.
constexpr StatusRow kCardRows[] = {
    {0x90, 0x00, 0x00, "Normal processing: no further qualification"},
    {0x61, 0x00, 0x00, "256 or more data bytes still available (GET RESPONSE)"},
    {0x61, 0x00, 0xFF, "# data bytes still available (GET RESPONSE)", Count::Sw2},
    {0x62, 0x00, 0x00, "Warning, memory unchanged: no information given"},
    {0x62, 0x81, 0x81, "Part of returned data may be corrupted"},
    {0x62, 0x82, 0x82, "End of file or record reached before reading Ne bytes"},
    {0x62, 0x83, 0x83, "Selected file deactivated"},
    {0x62, 0x84, 0x84, "File control information not formatted according to ISO/IEC 7816-4"},
    {0x62, 0x85, 0x85, "Selected file in termination state"},
    {0x62, 0x86, 0x86, "No input data available from a sensor on the card"},
    {0x62, 0x87, 0x87, "At least one of the referenced records is deactivated"},
    {0x62, 0x02, 0x80, "Warning: triggering by the card (# bytes to query)", Count::Sw2},
    {0x63, 0x00, 0x00, "Warning, memory changed: no information given"},
    {0x63, 0x40, 0x40, "Unsuccessful comparison"},
    {0x63, 0x81, 0x81, "File filled up by the last write"},
    {0x63, 0xC0, 0xCF, "Counter #: tries left where the command verifies a secret", Count::LowNibble},
    {0x64, 0x00, 0x00, "Execution error, memory unchanged: no information given"},
    {0x64, 0x01, 0x01, "Immediate response required by the card"},
    {0x64, 0x02, 0x80, "Execution error: triggering by the card (# bytes to query)", Count::Sw2},
    {0x65, 0x00, 0x00, "Execution error, memory changed: no information given"},
    {0x65, 0x81, 0x81, "Memory failure"},
    {0x66, 0x00, 0xFF, "Security-related issue"},
    {0x67, 0x00, 0x00, "Wrong length; no further indication"},
    {0x68, 0x00, 0x00, "Functions in CLA not supported: no information given"},
    {0x68, 0x81, 0x81, "Logical channel not supported"},
    {0x68, 0x82, 0x82, "Secure messaging not supported"},
    {0x68, 0x83, 0x83, "Last command of the chain expected"},
    {0x68, 0x84, 0x84, "Command chaining not supported"},
    {0x69, 0x00, 0x00, "Command not allowed: no information given"},
    {0x69, 0x81, 0x81, "Command incompatible with file structure"},
    {0x69, 0x82, 0x82, "Security status not satisfied"},
    {0x69, 0x83, 0x83, "Authentication method blocked"},
    {0x69, 0x84, 0x84, "Reference data not usable"},
    {0x69, 0x85, 0x85, "Conditions of use not satisfied"},
    {0x69, 0x86, 0x86, "Command not allowed (no current EF)"},
    {0x69, 0x87, 0x87, "Expected secure messaging data objects missing"},
    {0x69, 0x88, 0x88, "Incorrect secure messaging data objects"},
    {0x6A, 0x00, 0x00, "Wrong parameters P1-P2: no information given"},
    {0x6A, 0x80, 0x80, "Incorrect parameters in the command data field"},
    {0x6A, 0x81, 0x81, "Function not supported"},
    {0x6A, 0x82, 0x82, "File or application not found"},
    {0x6A, 0x83, 0x83, "Record not found"},
    {0x6A, 0x84, 0x84, "Not enough memory space in the file"},
    {0x6A, 0x85, 0x85, "Nc inconsistent with TLV structure"},
    {0x6A, 0x86, 0x86, "Incorrect parameters P1-P2"},
    {0x6A, 0x87, 0x87, "Nc inconsistent with parameters P1-P2"},
    {0x6A, 0x88, 0x88, "Referenced data or reference data not found"},
    {0x6A, 0x89, 0x89, "File already exists"},
    {0x6A, 0x8A, 0x8A, "DF name already exists"},
    {0x6B, 0x00, 0x00, "Wrong parameters P1-P2"},
    {0x6C, 0x00, 0x00, "Wrong Le field: 256 data bytes available, send again with Le 00"},
    {0x6C, 0x01, 0xFF, "Wrong Le field: # data bytes available, send again with that Le", Count::Sw2},
    {0x6D, 0x00, 0x00, "Instruction code not supported or invalid"},
    {0x6E, 0x00, 0x00, "Class not supported"},
    {0x6F, 0x00, 0x00, "No precise diagnosis"},
};

constexpr int kAnyIns = -1;
constexpr int kInsReset = 0x11;
constexpr int kInsRequestIcc = 0x12;
constexpr int kInsEjectIcc = 0x15;

struct TerminalRow {
  int ins;
  std::uint16_t sw;
  std::string_view meaning;
};

constexpr TerminalRow kTerminalRows[] = {
    {kInsReset, 0x9000, "Reset successful (the terminal, or a synchronous card)"},
    {kInsReset, 0x9001, "Reset successful: asynchronous card"},
    {kInsReset, 0x6400, "Reset not successful"},
    {kInsRequestIcc, 0x9000, "Synchronous card presented, reset successful"},
    {kInsRequestIcc, 0x9001, "Asynchronous card presented, reset successful"},
    {kInsRequestIcc, 0x6200, "No card presented within the time"},
    {kInsRequestIcc, 0x6201, "Card already present and activated"},
    {kInsRequestIcc, 0x6400, "Reset not successful"},
    {kInsEjectIcc, 0x9000, "Command successful"},
    {kInsEjectIcc, 0x9001, "Command successful, card removed"},
    {kInsEjectIcc, 0x6200, "Card not removed within the time"},
    {kAnyIns, 0x9000, "Command successful"},
    {kAnyIns, 0x9001, "Command successful: asynchronous card"},
    {kAnyIns, 0x6200, "No card presented within the time"},
    {kAnyIns, 0x6201, "Card already present and activated"},
    {kAnyIns, 0x6400, "Reset not successful"},
    {kAnyIns, 0x64A1, "No card present"},
    {kAnyIns, 0x6900, "Command with timer not supported"},
};

const StatusGroup& GroupOf(std::uint8_t sw1) {
  for (const StatusGroup& group : kGroups)
    if (group.sw1 == sw1) return group;
  return kUnknownGroup;
}

StatusKind KindOf(std::uint8_t sw1) {
  if (sw1 == 0x90) return StatusKind::Normal;
  return GroupOf(sw1).kind;
}

std::string WithCount(std::string_view text, int count) {
  std::string out(text);
  if (const std::size_t at = out.find('#'); at != std::string::npos)
    out.replace(at, 1, std::to_string(count));
  return out;
}

}  // namespace

StatusWord DecodeStatusWord(std::uint8_t sw1, std::uint8_t sw2) {
  const StatusGroup& group = GroupOf(sw1);
  StatusWord status{sw1, sw2, group.kind, false, group.text, {}};
  if (sw1 == 0x90 && sw2 != 0x00) {
    status.kind = StatusKind::Unknown;
    status.group = kUnknownGroup.text;
  }
  status.meaning =
      status.kind == StatusKind::Unknown
          ? "Not defined by ISO/IEC 7816-4: proprietary, or not a status word"
          : std::string(status.group) + " (SW2 " + HexByte(sw2) + " not defined by ISO/IEC 7816-4)";
  for (const StatusRow& row : kCardRows) {
    if (row.sw1 != sw1 || sw2 < row.sw2First || sw2 > row.sw2Last) continue;
    const int count = row.count == Count::Sw2 ? sw2 : sw2 & 0x0F;
    status.meaning = row.count == Count::None ? std::string(row.meaning) : WithCount(row.meaning, count);
    break;
  }
  return status;
}

StatusWord DecodeTerminalStatusWord(std::uint8_t sw1, std::uint8_t sw2, std::optional<std::uint8_t> ins) {
  const std::uint16_t sw = static_cast<std::uint16_t>(sw1 << 8 | sw2);
  for (const TerminalRow& row : kTerminalRows) {
    if (row.sw != sw || (row.ins != kAnyIns && (!ins || *ins != row.ins))) continue;
    return {sw1, sw2, KindOf(sw1), true, kTerminalGroup, std::string(row.meaning)};
  }
  return DecodeStatusWord(sw1, sw2);
}

std::vector<std::string> StatusWordLines(const StatusWord& status) {
  const std::uint8_t bytes[] = {status.sw1, status.sw2};
  const TextRow rows[] = {
      {"SW1 SW2", HexBytes(bytes), ""},
      {"Group", std::string(status.group), ""},
      {"Meaning", status.meaning, ""},
  };
  return AlignedLines(rows);
}

}  // namespace decode
