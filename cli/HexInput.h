#pragma once
// The arguments of a decoding subcommand: its options, then bytes in hex, which may be split over
// several arguments ("3B 02 14 50" quoted or not).

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "cli/CommandTable.h"

namespace cli {

struct HexInput {
  std::vector<std::uint8_t> bytes;
  std::vector<std::string_view> flags;  // the options given, from those allowed
  bool Has(std::string_view flag) const;
};

// Nothing after writing the one-line error to stderr: an option not in allowed, or no, odd or
// non-hex digits.
std::optional<HexInput> ReadHexInput(std::string_view command, Arguments args,
                                     std::span<const std::string_view> allowed, CliConsole& console);

}  // namespace cli
