#include "decode/Atr.h"

#include <algorithm>
#include <string_view>

#include "decode/AtrInterfaceBytes.h"
#include "decode/Hex.h"
#include "decode/TextRows.h"

namespace decode {
namespace {

std::string_view TsMeaning(TsForm ts) {
  switch (ts) {
    case TsForm::Direct:
      return "Direct convention";
    case TsForm::Inverse:
      return "Inverse convention";
    case TsForm::InverseReadAsDirect:
      return "Inverse convention, bytes as read in direct convention: decoded converted";
    case TsForm::Neither:
      break;
  }
  return "Neither convention: decoded as direct";
}

std::string T0Meaning(std::uint8_t t0) {
  std::string follow;
  int count = 0;
  for (int bit = 0; bit < 4; ++bit) {
    if (!(t0 & (0x10 << bit))) continue;
    (follow += InterfaceByteName(static_cast<InterfaceByte>(bit), 1)) += ' ';
    ++count;
  }
  const std::string historical = std::to_string(t0 & 0x0F) + " historical bytes";
  if (!count) return "No interface bytes; " + historical;
  return follow + (count == 1 ? "follows; " : "follow; ") + historical;
}

std::string ProtocolList(const std::vector<int>& protocols) {
  std::string text;
  for (const int t : protocols) {
    if (!text.empty()) text += ", ";
    text += "T=" + std::to_string(t);
  }
  return text;
}

void DecodeSynchronous(std::span<const std::uint8_t> bytes, Atr& atr) {
  atr.synchronous = true;
  atr.protocols.clear();
  const std::uint8_t h1 = bytes[0], h2 = bytes[1], h3 = bytes[2], h4 = bytes[3];
  std::string protocol;
  switch (h1 >> 4) {
    case 0x8:
      protocol = "serial data access (I2C bus)";
      break;
    case 0x9:
      protocol = "three-wire bus";
      break;
    case 0xA:
      protocol = "two-wire bus";
      break;
    default:
      protocol = "protocol type " + HexByte(h1 >> 4) + ": reserved or proprietary";
  }
  atr.interface.push_back({"H1", h1, "Synchronous card, " + protocol + " (type " + HexByte(h1) + ")"});
  const unsigned long units = 1ul << ((h2 >> 3 & 0x0F) + 6);
  atr.interface.push_back({"H2", h2,
                           std::to_string(units) + " data units of " + std::to_string(1 << (h2 & 0x07)) +
                               " bits; " + (h2 & 0x80 ? "read with defined length" : "read to the end")});
  if (h3 == 0x10) {
    atr.interface.push_back({"H3", h3, "Category 10: DIR data reference follows"});
    atr.interface.push_back({"H4", h4, "DIR data reference " + HexByte(h4)});
  } else {
    atr.interface.push_back({"H3", h3, "Historical byte"});
    atr.interface.push_back({"H4", h4, "Historical byte"});
  }
}

}  // namespace

Atr DecodeAtr(std::span<const std::uint8_t> given) {
  AtrFrame frame = ParseAtrFrame(given);
  Atr atr;
  atr.synchronous = frame.synchronous;
  atr.convention = frame.ts == TsForm::Inverse || frame.ts == TsForm::InverseReadAsDirect
                       ? Convention::Inverse
                       : Convention::Direct;
  atr.fi = frame.fi;
  atr.di = frame.di;
  atr.fmaxMhz = frame.fmaxMhz;
  atr.protocols = std::move(frame.protocols);
  atr.tck = frame.tck;
  atr.problems = std::move(frame.problems);
  if (atr.synchronous) {
    DecodeSynchronous(given, atr);
    return atr;
  }
  if (given.empty()) return atr;

  atr.ts = {"TS", given[0], std::string(TsMeaning(frame.ts))};
  if (frame.bytes.size() < 2) return atr;  // no T0
  atr.t0 = {"T0", frame.bytes[1], T0Meaning(frame.bytes[1])};
  atr.interface.reserve(frame.interface.size());
  for (const FrameByte& b : frame.interface) {
    atr.interface.push_back({InterfaceByteName(b.which, b.index), b.value,
                             InterfaceByteMeaning(b.which, b.index, b.protocol, frame.fi, b.value)});
  }
  if (frame.historicalReached) {
    atr.historical = DecodeHistoricalBytes(frame.historical);
    const auto& own = atr.historical.problems;
    atr.problems.insert(atr.problems.begin() + static_cast<std::ptrdiff_t>(frame.historicalProblemsAt),
                        own.begin(), own.end());
  }
  return atr;
}

std::vector<std::string> AtrLines(const Atr& atr) {
  std::vector<TextRow> rows;
  if (!atr.synchronous) {
    if (!atr.ts.name.empty()) rows.push_back({atr.ts.name, HexByte(atr.ts.value), atr.ts.meaning});
    if (!atr.t0.name.empty()) rows.push_back({atr.t0.name, HexByte(atr.t0.value), atr.t0.meaning});
  }
  for (const AtrByte& b : atr.interface) rows.push_back({b.name, HexByte(b.value), b.meaning});
  if (atr.tck.present)
    rows.push_back({"TCK", HexByte(atr.tck.value), atr.tck.valid ? "Check byte valid" : "Check byte wrong"});
  if (!atr.synchronous) {
    rows.push_back({"Protocols", ProtocolList(atr.protocols), ""});
    std::string rate = "Fi " + std::to_string(atr.fi) + ", Di " + std::to_string(atr.di) + ", f max " +
                       FormatDecimal(atr.fmaxMhz) + " MHz";
    rows.push_back({"Rate", rate, ""});
    if (!atr.historical.bytes.empty()) rows.push_back({"Historical", HexBytes(atr.historical.bytes), ""});
  }
  std::vector<std::string> lines = AlignedLines(rows);
  for (std::string& line : HistoricalLines(atr.historical)) lines.push_back("  " + line);
  for (const std::string& problem : atr.problems) lines.push_back("Problem: " + problem);
  return lines;
}

}  // namespace decode
