#pragma once
// The console's command notation: "2,1    2010000000", source and destination address, then the
// command bytes as pairs of hex digits.
#include <cstdint>
#include <string_view>
#include <vector>

#include "console/CommandLists.h"

constexpr std::size_t kMaxCommandTextLength = 999;
constexpr std::size_t kMaxCommandBytes = 300;

enum class CommandTextVerdict { Accepted, Incomplete, NotHex, TooLong };

struct CommandAddresses {
  std::uint8_t source = 0;
  std::uint8_t destination = 0;
};

// Checks the text and reads it. Accepted: the addresses read are stored (an address that cannot be
// read keeps its value) and bytes holds the command. Refused: neither is touched.
CommandTextVerdict ParseCommandText(std::string_view text, CommandAddresses& addresses,
                                    std::vector<std::uint8_t>& bytes);

// The message box text of a refusal.
const char* RefusalText(CommandTextVerdict verdict);

// The text CT_data sends: the typed text without a display-form prefix ("0003 : ") while the user
// has edited the field, else the list entry at the command selection, or nothing if there is none.
std::string_view CommandToSend(bool commandEdited, std::string_view editText, const CommandLists& lists);
