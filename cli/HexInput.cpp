#include "cli/HexInput.h"

#include <algorithm>
#include <string>

#include "decode/Hex.h"

namespace cli {

bool HexInput::Has(std::string_view flag) const {
  return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

std::optional<HexInput> ReadHexInput(std::string_view command, Arguments args,
                                     std::span<const std::string_view> allowed, CliConsole& console) {
  const auto fail = [&](std::string_view why) {
    console.Err("kelvanor-cli " + std::string(command) + ": " + std::string(why) + "\n");
    return std::nullopt;
  };
  HexInput input;
  std::string hex;
  for (const std::string_view arg : args) {
    if (arg.starts_with("-")) {
      if (std::find(allowed.begin(), allowed.end(), arg) == allowed.end())
        return fail("unknown option '" + std::string(arg) + "'");
      input.flags.push_back(arg);
      continue;
    }
    (hex += arg) += ' ';
  }
  decode::ParsedHex parsed = decode::ParseHex(hex);
  if (parsed.error != decode::HexError::None) return fail(decode::HexErrorText(parsed.error));
  input.bytes = std::move(parsed.bytes);
  return input;
}

}  // namespace cli
