#include "console/CommandText.h"

#include <optional>

#include "console/ListEntries.h"

namespace {

std::optional<int> HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

bool Permitted(char c) { return HexValue(c) || c == ' ' || c == ',' || c == '\n'; }

// One address: optional blanks, then hex digits up to the first other character. Only the low
// 8 bits count, however many digits stand there.
std::optional<std::uint8_t> ReadAddress(std::string_view text, std::size_t& at) {
  while (at < text.size() && text[at] == ' ') ++at;
  std::optional<std::uint8_t> value;
  for (; at < text.size(); ++at) {
    const auto digit = HexValue(text[at]);
    if (!digit) break;
    value = static_cast<std::uint8_t>((value.value_or(0) << 4) | *digit);
  }
  return value;
}

}  // namespace

CommandTextVerdict ParseCommandText(std::string_view text, CommandAddresses& addresses,
                                    std::vector<std::uint8_t>& bytes) {
  if (text.size() < 10) return CommandTextVerdict::Incomplete;
  if (text.size() > kMaxCommandTextLength) return CommandTextVerdict::TooLong;
  for (char c : text)
    if (!Permitted(c)) return CommandTextVerdict::NotHex;
  // A line feed ends the command; what follows it had to be permitted all the same.
  text = text.substr(0, text.find('\n'));

  std::string work(text);
  if (work.size() >= 2) work[1] = ' ';  // the separator between the addresses

  CommandAddresses read = addresses;
  std::size_t at = 0;
  if (const auto source = ReadAddress(work, at)) {
    read.source = *source;
    if (const auto destination = ReadAddress(work, at)) read.destination = *destination;
  }

  std::vector<std::uint8_t> command;
  std::size_t digits = 0;
  std::size_t pos = 4;
  while (pos < work.size() && work[pos] == ' ') ++pos;
  std::uint8_t current = 0;
  for (; pos < work.size(); ++pos) {
    const auto digit = HexValue(work[pos]);
    if (!digit) break;
    // An odd last digit is never sent, but it still needs a byte: it counts against the limit.
    if (++digits > 2 * kMaxCommandBytes) return CommandTextVerdict::TooLong;
    current = static_cast<std::uint8_t>((current << 4) | *digit);
    if (digits % 2 == 0) {
      command.push_back(current);
      current = 0;
    }
  }

  addresses = read;
  bytes = std::move(command);
  return CommandTextVerdict::Accepted;
}

const char* RefusalText(CommandTextVerdict verdict) {
  switch (verdict) {
    case CommandTextVerdict::Incomplete:
      return "Input not complete!";
    case CommandTextVerdict::NotHex:
      return "Only hex. input allowed!";
    case CommandTextVerdict::TooLong:
      return "Command too long!";
    case CommandTextVerdict::Accepted:
      break;
  }
  return "";
}

std::string_view CommandToSend(bool commandEdited, std::string_view editText, const CommandLists& lists) {
  if (commandEdited) return ColonCut(editText);
  const int selection = lists.commandSelection;
  if (selection < 0 || selection >= lists.commandCount || selection >= CommandLists::kCapacity) return {};
  return lists.commands[static_cast<std::size_t>(selection)];
}
