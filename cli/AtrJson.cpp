#include "cli/AtrJson.h"

#include "decode/Hex.h"

namespace cli {

void WriteAtrJson(const decode::Atr& atr, JsonWriter& json) {
  json.BeginObject().Key("convention");
  if (atr.synchronous) {
    json.Null();
  } else {
    json.String(atr.convention == decode::Convention::Direct ? "direct" : "inverse");
  }
  json.Key("synchronous").Bool(atr.synchronous);
  json.Key("fi").Number(std::int64_t{atr.fi});
  json.Key("di").Number(std::int64_t{atr.di});
  json.Key("fmax_mhz").Number(atr.fmaxMhz);
  json.Key("protocols").BeginArray();
  for (const int t : atr.protocols) json.Number(std::int64_t{t});
  json.EndArray();
  json.Key("interface").BeginArray();
  for (const decode::AtrByte& b : atr.interface) {
    json.BeginObject().Key("name").String(b.name).Key("value").String(decode::HexByte(b.value));
    json.Key("meaning").String(b.meaning).EndObject();
  }
  json.EndArray();
  json.Key("historical").String(decode::HexBytes(atr.historical.bytes));
  json.Key("compact_tlv").BeginArray();
  for (const decode::CompactTlv& object : atr.historical.objects) {
    json.BeginObject()
        .Key("tag")
        .Number(std::int64_t{object.tag})
        .Key("length")
        .Number(std::int64_t{object.length});
    json.Key("value")
        .String(decode::HexBytes(object.value))
        .Key("meaning")
        .String(object.meaning)
        .EndObject();
  }
  json.EndArray();
  json.Key("tck")
      .BeginObject()
      .Key("present")
      .Bool(atr.tck.present)
      .Key("valid")
      .Bool(atr.tck.valid)
      .EndObject();
  json.Key("problems").BeginArray();
  for (const std::string& problem : atr.problems) json.String(problem);
  json.EndArray().EndObject();
}

}  // namespace cli
