// kelvanor-cli sw: what a status word means, from a card or from the terminal itself.
#include <string_view>

#include "cli/HexInput.h"
#include "cli/Json.h"
#include "cli/Subcommands.h"
#include "decode/Hex.h"
#include "decode/StatusWord.h"

namespace cli {
namespace {

constexpr std::string_view kOptions[] = {"--json", "--terminal"};

}  // namespace

int RunSw(Arguments args, CliConsole& console) {
  const std::optional<HexInput> input = ReadHexInput("sw", args, kOptions, console);
  if (!input) return kExitCannotRun;
  if (input->bytes.size() != 2) {
    console.Err("kelvanor-cli sw: a status word is two bytes, SW1 SW2\n");
    return kExitCannotRun;
  }
  const std::uint8_t sw1 = input->bytes[0], sw2 = input->bytes[1];
  const decode::StatusWord status = input->Has("--terminal") ? decode::DecodeTerminalStatusWord(sw1, sw2)
                                                             : decode::DecodeStatusWord(sw1, sw2);
  if (input->Has("--json")) {
    JsonWriter json;
    json.BeginObject()
        .Key("sw")
        .String(decode::HexBytes(input->bytes, ""))
        .Key("text")
        .String(status.meaning);
    console.Out(json.EndObject().Text());
  } else {
    WriteLines(decode::StatusWordLines(status), console);
  }
  return kExitOk;
}

}  // namespace cli
