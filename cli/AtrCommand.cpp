// kelvanor-cli atr: an ATR taken apart, field by field.
#include <string_view>

#include "cli/AtrJson.h"
#include "cli/HexInput.h"
#include "cli/Subcommands.h"

namespace cli {
namespace {

constexpr std::string_view kOptions[] = {"--json"};

}  // namespace

int RunAtr(Arguments args, CliConsole& console) {
  const std::optional<HexInput> input = ReadHexInput("atr", args, kOptions, console);
  if (!input) return kExitCannotRun;
  const decode::Atr atr = decode::DecodeAtr(input->bytes);
  if (input->Has("--json")) {
    JsonWriter json;
    WriteAtrJson(atr, json);
    console.Out(json.Text());
  } else {
    WriteLines(decode::AtrLines(atr), console);
  }
  return kExitOk;
}

}  // namespace cli
