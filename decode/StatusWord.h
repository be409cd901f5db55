#pragma once
// Status words SW1 SW2 explained: the card's (ISO/IEC 7816-4) and the card terminal's own (CT-BCS).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace decode {

enum class StatusKind { Normal, Warning, ExecutionError, CheckingError, Unknown };

struct StatusWord {
  std::uint8_t sw1 = 0, sw2 = 0;
  StatusKind kind = StatusKind::Unknown;
  bool terminal = false;   // the meaning is the terminal's own, not the card's
  std::string_view group;  // "Checking error: wrong parameters P1-P2"
  std::string meaning;     // one line that stands alone: "File or application not found"
};

StatusWord DecodeStatusWord(std::uint8_t sw1, std::uint8_t sw2);

// An answer of the terminal itself to one of its commands (CLA 20); ins picks the meanings that
// depend on the command (62 00 of REQUEST ICC and of EJECT ICC differ). Status words the terminal
// has no meaning of its own for mean what they mean from a card.
StatusWord DecodeTerminalStatusWord(std::uint8_t sw1, std::uint8_t sw2,
                                    std::optional<std::uint8_t> ins = std::nullopt);

std::vector<std::string> StatusWordLines(const StatusWord& status);

}  // namespace decode
