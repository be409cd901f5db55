#pragma once
// The options that run and probe share: which driver, which terminals, how long a call may take.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandTable.h"
#include "cli/DriverLibrary.h"

namespace cli {

struct DriverOptions {
  DriverChoice driver;
  std::uint16_t ctn = 1;                 // the first terminal's CT number; the next ones count on
  std::vector<std::uint16_t> ports;      // --port P or --ports LIST
  bool serial = false;
  bool json = false;
  double timeoutSeconds = 0;             // 0: no limit
  std::string log;
  std::string junit;
  std::vector<std::string> arguments;    // what is not an option: the files
};

// Option names a subcommand takes, each with its value or not.
struct OptionSpec {
  std::string_view name;
  bool takesValue;
};

// Reads the arguments by the subcommand's list of options; nothing, with the reason, on a bad one.
std::optional<DriverOptions> ParseDriverOptions(Arguments args, std::span<const OptionSpec> accepted,
                                                std::vector<std::uint16_t> defaultPorts, std::string& error);

// "1,2,3", "0-7", "0-3,5": the ports in order, each once.
std::optional<std::vector<std::uint16_t>> ParsePortList(std::string_view text);

}  // namespace cli
