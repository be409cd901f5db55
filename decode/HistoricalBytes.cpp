// The historical bytes of an ATR (ISO/IEC 7816-4): the category indicator and the compact-TLV
// objects that say how to reach the card's files and what it can do.
#include <algorithm>
#include <string_view>

#include "decode/Atr.h"
#include "decode/Hex.h"
#include "decode/TextRows.h"

namespace decode {
namespace {

constexpr std::uint8_t kTagCardServiceData = 0x3;
constexpr std::uint8_t kTagCardCapabilities = 0x7;
constexpr std::uint8_t kTagStatusIndicator = 0x8;
constexpr std::uint8_t kTagApplicationIdentifier = 0xF;
constexpr std::uint8_t kBerApplicationIdentifier = 0x4F;

constexpr std::string_view kTagNames[16] = {
    "",
    "Country code and national data",
    "Issuer identification number",
    "Card service data",
    "Initial access data",
    "Card issuer's data",
    "Pre-issuing data",
    "Card capabilities",
    "Status indicator",
    "",
    "",
    "",
    "",
    "",
    "",
    "Application identifier",
};

struct Flag {
  std::uint8_t bit;
  std::string_view text;
};

constexpr Flag kServiceFlags[] = {
    {0x80, "application selection by full DF name"},
    {0x40, "application selection by partial DF name"},
    {0x20, "BER-TLV data objects in EF.DIR"},
    {0x10, "BER-TLV data objects in EF.ATR"},
};

constexpr Flag kSelectionMethods[] = {
    {0x80, "full DF name"},    {0x40, "partial DF name"},   {0x20, "path"},
    {0x10, "file identifier"}, {0x08, "implicit DF"},       {0x04, "short EF identifier"},
    {0x02, "record number"},   {0x01, "record identifier"},
};

constexpr std::string_view kWriteBehaviour[4] = {"one-time write", "proprietary write", "write OR",
                                                 "write AND"};

std::string Flags(std::uint8_t value, std::span<const Flag> flags) {
  std::string text;
  for (const Flag& f : flags) {
    if (!(value & f.bit)) continue;
    if (!text.empty()) text += ", ";
    text += f.text;
  }
  return text;
}

std::string_view LifeCycle(std::uint8_t lcs) {
  if (lcs == 0x00) return "no information given";
  if (lcs == 0x01) return "creation state";
  if (lcs == 0x03) return "initialisation state";
  if ((lcs & 0xFD) == 0x05) return "operational state, activated";
  if ((lcs & 0xFD) == 0x04) return "operational state, deactivated";
  if ((lcs & 0xFC) == 0x0C) return "termination state";
  return "proprietary";
}

std::string CardServiceData(std::uint8_t value) {
  std::string text = Flags(value, kServiceFlags);
  if (!text.empty()) text += "; ";
  switch (value >> 1 & 0x07) {
    case 0x4:
      text += "EF.DIR and EF.ATR read by READ BINARY";
      break;
    case 0x0:
      text += "EF.DIR and EF.ATR read by READ RECORD";
      break;
    case 0x2:
      text += "EF.DIR and EF.ATR read by GET DATA";
      break;
    default:
      text += "access to EF.DIR and EF.ATR reserved";
  }
  return text + (value & 0x01 ? "; card without MF" : "; card with MF");
}

std::string CardCapabilities(std::span<const std::uint8_t> value) {
  std::string text;
  if (value.size() > 0) {
    const std::string methods = Flags(value[0], kSelectionMethods);
    text += "selection by " + (methods.empty() ? std::string("none") : methods);
  }
  if (value.size() > 1) {
    const std::uint8_t coding = value[1];
    text += "; data coding " + HexByte(coding) + ": ";
    if (coding & 0x80) text += "EFs of TLV structure, ";
    text += kWriteBehaviour[coding >> 5 & 0x03];
    text += coding & 0x10 ? ", FF valid as first tag byte" : ", FF invalid as first tag byte";
    text += ", data unit " + std::to_string(1 << (coding & 0x0F)) + " quartets";
  }
  if (value.size() > 2) {
    const std::uint8_t third = value[2];
    if (third & 0x80) text += "; command chaining";
    if (third & 0x40) text += "; extended Lc and Le";
    if (third & 0x20) text += "; extended length information in EF.ATR";
    const int assignment = third >> 3 & 0x03;
    if (assignment == 0) {
      text += "; no logical channels";
    } else {
      text += assignment & 0x02 ? "; logical channels assigned by the card" : "";
      text += assignment & 0x01 ? "; logical channels assigned by the interface device" : "";
      const int channels = (third & 0x07) + 1;
      text += "; up to " + std::to_string(channels) + (channels == 8 ? " or more" : "") + " logical channels";
    }
  }
  return text;
}

std::string StatusIndicator(std::span<const std::uint8_t> value) {
  std::string text;
  if (value.size() == 1 || value.size() == 3) text = "life cycle: " + std::string(LifeCycle(value[0]));
  if (value.size() >= 2) {
    if (!text.empty()) text += "; ";
    text += "status word " + HexBytes(value.last(2));
  }
  return text;
}

std::string ObjectMeaning(std::uint8_t tag, std::span<const std::uint8_t> value) {
  if (tag == kBerApplicationIdentifier) tag = kTagApplicationIdentifier;
  std::string name(kTagNames[tag]);
  if (name.empty()) return "Tag " + std::to_string(tag) + ": not defined by ISO/IEC 7816-4";
  std::string detail;
  if (tag == kTagCardServiceData && value.size() == 1) detail = CardServiceData(value[0]);
  if (tag == kTagCardCapabilities && !value.empty()) detail = CardCapabilities(value);
  if (tag == kTagStatusIndicator && !value.empty()) detail = StatusIndicator(value);
  return detail.empty() ? name : name + ": " + detail;
}

// Compact-TLV objects up to the end; an object whose value the bytes do not hold is kept as far as
// it goes.
void ReadObjects(std::span<const std::uint8_t> bytes, HistoricalBytes& out) {
  for (std::size_t at = 0; at < bytes.size();) {
    CompactTlv object;
    object.tag = bytes[at] >> 4;
    object.length = bytes[at] & 0x0F;
    std::size_t header = 1;
    if (bytes[at] == kBerApplicationIdentifier && at + 1 < bytes.size()) {
      object.tag = kBerApplicationIdentifier;
      object.length = bytes[at + 1];
      header = 2;
    }
    const std::size_t available = std::min<std::size_t>(object.length, bytes.size() - at - header);
    const auto value = bytes.subspan(at + header, available);
    object.value.assign(value.begin(), value.end());
    object.meaning = ObjectMeaning(object.tag, value);
    if (available < object.length)
      out.problems.push_back("Historical bytes cut short: object " + HexBytes(bytes.subspan(at, header)) +
                             " announces " + Count(object.length, "byte") + ", " + std::to_string(available) +
                             " follow");
    out.objects.push_back(std::move(object));
    at += header + available;
  }
}

}  // namespace

HistoricalBytes DecodeHistoricalBytes(std::span<const std::uint8_t> bytes) {
  HistoricalBytes out;
  out.bytes.assign(bytes.begin(), bytes.end());
  if (bytes.empty()) return out;
  const std::uint8_t category = bytes[0];
  const auto rest = bytes.subspan(1);
  if (category == 0x00) {
    out.category = "Compact-TLV data objects, then a status indicator";
    if (rest.size() < 3) {
      out.problems.push_back("Historical bytes of category 00 without the 3 bytes of the status indicator");
      ReadObjects(rest, out);
      return out;
    }
    ReadObjects(rest.first(rest.size() - 3), out);
    const auto status = rest.last(3);
    out.statusIndicator = CompactTlv{
        kTagStatusIndicator, 3, {status.begin(), status.end()}, ObjectMeaning(kTagStatusIndicator, status)};
  } else if (category == 0x80) {
    out.category = "Compact-TLV data objects";
    ReadObjects(rest, out);
  } else if (category == 0x10) {
    out.category = "DIR data reference";
    if (rest.size() != 1)
      out.problems.push_back("Historical bytes of category 10 need exactly one reference byte");
  } else if (category >= 0x81 && category <= 0x8F) {
    out.category = "Reserved for future use";
  } else {
    out.category = "Proprietary";
  }
  return out;
}

std::vector<std::string> HistoricalLines(const HistoricalBytes& historical) {
  std::vector<TextRow> rows;
  if (historical.bytes.empty()) return {};
  rows.push_back({"Category", HexByte(historical.bytes[0]), historical.category});
  const auto addObject = [&rows](const CompactTlv& object) {
    const std::string header = object.tag == kBerApplicationIdentifier
                                   ? "4F " + HexByte(object.length)
                                   : HexByte(static_cast<std::uint8_t>(object.tag << 4 | object.length));
    rows.push_back({"  " + header, HexBytes(object.value), object.meaning});
  };
  for (const CompactTlv& object : historical.objects) addObject(object);
  if (historical.statusIndicator) {
    rows.push_back(
        {"  Status", HexBytes(historical.statusIndicator->value), historical.statusIndicator->meaning});
  }
  if (historical.bytes[0] == 0x10 && historical.bytes.size() > 1)
    rows.push_back({"  Reference", HexBytes(std::span(historical.bytes).subspan(1)), "DIR data reference"});
  return AlignedLines(rows);
}

}  // namespace decode
