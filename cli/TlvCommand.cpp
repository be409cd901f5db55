// kelvanor-cli tlv: BER-TLV data objects as a tree.
#include <string_view>

#include "cli/HexInput.h"
#include "cli/Json.h"
#include "cli/Subcommands.h"
#include "decode/Hex.h"
#include "decode/Tlv.h"

namespace cli {
namespace {

constexpr std::string_view kOptions[] = {"--json", "--terminal"};

void WriteObjects(const decode::TlvTree& tree, const std::vector<decode::TlvObject>& objects,
                  JsonWriter& json) {
  json.BeginArray();
  for (const decode::TlvObject& object : objects) {
    json.BeginObject().Key("tag").String(decode::HexBytes(object.Tag(), ""));
    json.Key("length").Number(static_cast<std::int64_t>(object.length));
    json.Key("name").String(decode::TlvDescription(object));
    if (object.Truncated()) json.Key("cut_short").Bool(true);
    if (object.Primitive()) {
      json.Key("value").String(decode::HexBytes(tree.Value(object)));
    } else {
      json.Key("children");
      WriteObjects(tree, object.children, json);
    }
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

int RunTlv(Arguments args, CliConsole& console) {
  const std::optional<HexInput> input = ReadHexInput("tlv", args, kOptions, console);
  if (!input) return kExitCannotRun;
  const decode::TlvTree tree = decode::DecodeTlv(
      input->bytes, input->Has("--terminal") ? decode::TlvSource::Terminal : decode::TlvSource::Card);
  if (input->Has("--json")) {
    JsonWriter json;
    json.BeginObject().Key("tlv");
    WriteObjects(tree, tree.objects, json);
    json.Key("problems").BeginArray();
    for (const std::string& problem : tree.problems) json.String(problem);
    console.Out(json.EndArray().EndObject().Text());
  } else {
    WriteLines(decode::TlvLines(tree), console);
  }
  return kExitOk;
}

}  // namespace cli
