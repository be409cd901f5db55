#include "cli/DriverOptions.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace cli {
namespace {

std::optional<std::uint16_t> Number16(std::string_view text) {
  unsigned value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || failure != std::errc() || end != text.data() + text.size() || value > 0xFFFF)
    return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<std::vector<std::uint16_t>> ParsePortList(std::string_view text) {
  std::vector<std::uint16_t> ports;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view part = text.substr(0, comma);
    const std::size_t dash = part.find('-');
    const auto first = Number16(part.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : Number16(part.substr(dash + 1));
    if (!first || !last || *last < *first) return std::nullopt;
    for (unsigned p = *first; p <= *last; ++p) {
      if (std::find(ports.begin(), ports.end(), p) != ports.end()) return std::nullopt;
      ports.push_back(static_cast<std::uint16_t>(p));
    }
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return ports;
}

std::optional<DriverOptions> ParseDriverOptions(Arguments args, std::span<const OptionSpec> accepted,
                                                std::vector<std::uint16_t> defaultPorts, std::string& error) {
  DriverOptions options;
  bool portGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg.size() < 2 || arg.substr(0, 2) != "--") {
      options.arguments.emplace_back(arg);
      continue;
    }
    const auto spec = std::find_if(accepted.begin(), accepted.end(), [&](const OptionSpec& s) { return s.name == arg; });
    if (spec == accepted.end()) {
      error = "unknown option " + std::string(arg);
      return std::nullopt;
    }
    std::string_view value;
    if (spec->takesValue) {
      if (i + 1 >= args.size()) {
        error = std::string(arg) + " needs a value";
        return std::nullopt;
      }
      value = args[++i];
    }
    const auto bad = [&](std::string_view what) {
      error = std::string(arg) + " " + std::string(value) + ": " + std::string(what);
      return std::nullopt;
    };
    if (arg == "--driver") {
      if (value.empty()) return bad("needs a library");
      options.driver.library = value;
    } else if (arg == "--ordinals") {
      options.driver.ordinals = true;
    } else if (arg == "--ctn") {
      const auto ctn = Number16(value);
      if (!ctn) return bad("not a CT number from 0 to 65535");
      options.ctn = *ctn;
    } else if (arg == "--port" || arg == "--ports") {
      if (portGiven) return bad("the ports were given already");
      portGiven = true;
      const auto ports = arg == "--port" ? (Number16(value) ? std::optional(std::vector{*Number16(value)}) : std::nullopt)
                                         : ParsePortList(value);
      if (!ports) return bad("not a port number, or a list like 1,2,3 or 0-7 of ports from 0 to 65535, each once");
      options.ports = *ports;
    } else if (arg == "--serial") {
      options.serial = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--timeout") {
      char* end = nullptr;
      const std::string text(value);
      const double seconds = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0' || !(seconds >= 0) || seconds > 86400) return bad("not a number of seconds");
      options.timeoutSeconds = seconds;
    } else if (arg == "--log") {
      options.log = value;
    } else if (arg == "--junit") {
      options.junit = value;
    }
  }
  if (!portGiven) options.ports = std::move(defaultPorts);
  if (options.ctn + options.ports.size() - 1 > 0xFFFF) {
    error = "--ctn " + std::to_string(options.ctn) + ": too high for one CT number per port";
    return std::nullopt;
  }
  return options;
}

}  // namespace cli
