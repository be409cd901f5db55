#include "decode/Atr.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "decode/AtrInterfaceBytes.h"
#include "decode/Hex.h"
#include "decode/TextRows.h"

namespace decode {
namespace {

constexpr std::uint8_t kDirect = 0x3B;
constexpr std::uint8_t kInverse = 0x3F;
// TS of the inverse convention read as if direct: the whole ATR still needs converting.
constexpr std::uint8_t kInverseUnconverted = 0x03;

constexpr std::size_t kSynchronousLength = 4;

constexpr std::string_view kByteNames[4] = {"TA", "TB", "TC", "TD"};

// The inverse convention sends each byte complemented, most significant bit first.
std::uint8_t FromInverse(std::uint8_t b) {
  b = static_cast<std::uint8_t>(~b);
  b = static_cast<std::uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
  b = static_cast<std::uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
  return static_cast<std::uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

std::string T0Meaning(std::uint8_t t0) {
  std::string follow;
  int count = 0;
  for (int bit = 0; bit < 4; ++bit) {
    if (!(t0 & (0x10 << bit))) continue;
    (follow += kByteNames[bit]) += "1 ";
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

// XOR of T0 up to and including the byte at end: zero when the byte there is a right TCK.
std::uint8_t CheckSum(std::span<const std::uint8_t> bytes, std::size_t end) {
  std::uint8_t sum = 0;
  for (std::size_t i = 1; i <= end; ++i) sum ^= bytes[i];
  return sum;
}

// Some T=0 cards send a TCK they need not send: one last byte that checks is taken as one.
bool TrailingCheckByte(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes.size() == at + 1 && CheckSum(bytes, at) == 0;
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
  Atr atr;
  atr.protocols = {0};
  if (given.empty()) {
    atr.problems.push_back("Empty: no TS");
    return atr;
  }
  if (given.size() == kSynchronousLength && given[0] != kDirect && given[0] != kInverse &&
      given[0] != kInverseUnconverted) {
    DecodeSynchronous(given, atr);
    return atr;
  }

  // At most the frame's 33 bytes are looked at; what follows is only counted.
  std::array<std::uint8_t, kMaxAtrLength> frame{};
  const std::size_t size = std::min(given.size(), kMaxAtrLength);
  std::copy_n(given.begin(), size, frame.begin());
  const std::span<const std::uint8_t> bytes(frame.data(), size);

  atr.ts = {"TS", bytes[0], ""};
  if (bytes[0] == kDirect) {
    atr.ts.meaning = "Direct convention";
  } else if (bytes[0] == kInverse) {
    atr.ts.meaning = "Inverse convention";
    atr.convention = Convention::Inverse;
  } else if (bytes[0] == kInverseUnconverted) {
    atr.ts.meaning = "Inverse convention, bytes as read in direct convention: decoded converted";
    atr.convention = Convention::Inverse;
    for (std::size_t i = 1; i < size; ++i) frame[i] = FromInverse(frame[i]);
  } else {
    atr.ts.meaning = "Neither convention: decoded as direct";
    atr.problems.push_back("TS " + HexByte(bytes[0]) + " is neither 3B (direct) nor 3F (inverse convention)");
  }

  std::size_t at = 1;
  const auto cutShort = [&](std::string_view what) {
    atr.problems.push_back("Cut short: " + std::string(what) + " missing after " + Count(at, "byte"));
  };
  if (at == size) {
    cutShort("T0");
    return atr;
  }
  atr.t0 = {"T0", bytes[at], T0Meaning(bytes[at])};
  const std::size_t historicalCount = bytes[at] & 0x0F;
  std::uint8_t presence = bytes[at] >> 4;
  atr.interface.reserve(size - 2);
  ++at;

  bool tckRequired = false;
  int protocol = 0;  // the T that the bytes of this round belong to
  bool cut = false;
  for (int index = 1; presence && !cut; ++index) {
    std::uint8_t nextPresence = 0;
    for (int bit = 0; bit < 4; ++bit) {
      if (!(presence & (1 << bit))) continue;
      const std::string name = std::string(kByteNames[bit]) + std::to_string(index);
      if (at == size) {
        cutShort(name);
        cut = true;
        break;
      }
      const std::uint8_t value = bytes[at++];
      const auto which = static_cast<InterfaceByte>(bit);
      atr.interface.push_back({name, value, InterfaceByteMeaning(which, index, protocol, value)});
      if (index == 1 && which == InterfaceByte::TA) {
        const RateFactors f = RateFactorsOf(value);
        atr.fi = f.fi;
        atr.fmaxMhz = f.fmaxMhz;
        atr.di = f.di;
        if (!f.fi || !f.di)
          atr.problems.push_back("TA1 " + HexByte(value) + ": Fi or Di reserved for future use");
      }
      if (which == InterfaceByte::TD) {
        const int t = value & 0x0F;
        if (index == 1) atr.protocols.clear();
        if (t != 0) tckRequired = true;
        if (t != 15 && std::find(atr.protocols.begin(), atr.protocols.end(), t) == atr.protocols.end())
          atr.protocols.push_back(t);
        protocol = t;
        nextPresence = value >> 4;
      }
    }
    presence = nextPresence;
  }

  const std::size_t historicalEnd = std::min(size, at + historicalCount);
  if (!cut) {
    atr.historical = DecodeHistoricalBytes(bytes.subspan(at, historicalEnd - at));
    atr.problems.insert(atr.problems.end(), atr.historical.problems.begin(), atr.historical.problems.end());
    if (historicalEnd - at < historicalCount) {
      atr.problems.push_back("Cut short: " + std::to_string(historicalCount) +
                             " historical bytes announced, " + std::to_string(historicalEnd - at) +
                             " present");
      cut = true;
    }
    at = historicalEnd;
  }

  if (!cut && (tckRequired || TrailingCheckByte(bytes, at))) {
    if (at == size) {
      cutShort("TCK");
    } else {
      const std::uint8_t sum = CheckSum(bytes, at);
      atr.tck = {true, sum == 0, bytes[at]};
      if (sum != 0)
        atr.problems.push_back("TCK " + HexByte(bytes[at]) + " is wrong: " +
                               HexByte(static_cast<std::uint8_t>(bytes[at] ^ sum)) + " expected");
      if (!tckRequired) atr.problems.push_back("TCK present although only T=0 is offered");
      ++at;
    }
  }
  if (given.size() > at && !cut)
    atr.problems.push_back(Count(given.size() - at, "byte") + " after the end of the ATR");
  if (given.size() > kMaxAtrLength)
    atr.problems.push_back("Longer than the 33 bytes an ATR may have: " + std::to_string(given.size()));
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
