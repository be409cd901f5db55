#include "decode/AtrFrame.h"

#include <algorithm>
#include <string_view>

#include "decode/Hex.h"
#include "decode/TextRows.h"

namespace decode {
namespace {

constexpr std::uint8_t kDirect = 0x3B;
constexpr std::uint8_t kInverse = 0x3F;
// TS of the inverse convention read as if direct: the whole ATR still needs converting.
constexpr std::uint8_t kInverseUnconverted = 0x03;

constexpr std::size_t kSynchronousLength = 4;

constexpr int kFi[16] = {372, 372, 558, 744, 1116, 1488, 1860, 0, 0, 512, 768, 1024, 1536, 2048, 0, 0};
constexpr double kFmaxMhz[16] = {4, 5, 6, 8, 12, 16, 20, 0, 0, 5, 7.5, 10, 15, 20, 0, 0};
constexpr int kDi[16] = {0, 1, 2, 4, 8, 16, 32, 64, 12, 20, 0, 0, 0, 0, 0, 0};

// The inverse convention sends each byte complemented, most significant bit first.
std::uint8_t FromInverse(std::uint8_t b) {
  b = static_cast<std::uint8_t>(~b);
  b = static_cast<std::uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
  b = static_cast<std::uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
  return static_cast<std::uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
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

}  // namespace

RateFactors RateFactorsOf(std::uint8_t ta1) { return {kFi[ta1 >> 4], kFmaxMhz[ta1 >> 4], kDi[ta1 & 0x0F]}; }

std::string InterfaceByteName(InterfaceByte which, int index) {
  static constexpr std::string_view kLetters[4] = {"TA", "TB", "TC", "TD"};
  return std::string(kLetters[static_cast<int>(which)]) + std::to_string(index);
}

AtrFrame ParseAtrFrame(std::span<const std::uint8_t> given) {
  AtrFrame frame;
  if (given.empty()) {
    frame.problems.push_back("Empty: no TS");
    return frame;
  }
  frame.bytes.assign(given.begin(), given.end());
  if (given.size() == kSynchronousLength && given[0] != kDirect && given[0] != kInverse &&
      given[0] != kInverseUnconverted) {
    frame.synchronous = true;
    frame.protocols.clear();
    return frame;
  }

  // An ATR longer than allowed is still taken apart as far as its bytes go, and named too long.
  std::vector<std::uint8_t>& bytes = frame.bytes;
  const std::size_t size = bytes.size();
  if (bytes[0] == kInverse) {
    frame.ts = TsForm::Inverse;
  } else if (bytes[0] == kInverseUnconverted) {
    frame.ts = TsForm::InverseReadAsDirect;
    for (std::size_t i = 1; i < size; ++i) bytes[i] = FromInverse(bytes[i]);
  } else if (bytes[0] != kDirect) {
    frame.ts = TsForm::Neither;
    frame.problems.push_back("TS " + HexByte(bytes[0]) +
                             " is neither 3B (direct) nor 3F (inverse convention)");
  }

  std::size_t at = 1;
  const auto cutShort = [&](std::string_view what) {
    frame.problems.push_back("Cut short: " + std::string(what) + " missing after " + Count(at, "byte"));
  };
  if (at == size) {
    cutShort("T0");
    return frame;
  }
  const std::size_t historicalCount = bytes[at] & 0x0F;
  std::uint8_t presence = bytes[at] >> 4;
  frame.interface.reserve(size - 2);
  ++at;

  bool tckRequired = false;
  int protocol = 0;  // the T that the bytes of this round belong to
  bool cut = false;
  for (int index = 1; presence && !cut; ++index) {
    std::uint8_t nextPresence = 0;
    for (int bit = 0; bit < 4; ++bit) {
      if (!(presence & (1 << bit))) continue;
      if (at == size) {
        cutShort(InterfaceByteName(static_cast<InterfaceByte>(bit), index));
        cut = true;
        break;
      }
      const std::uint8_t value = bytes[at++];
      const auto which = static_cast<InterfaceByte>(bit);
      frame.interface.push_back({which, index, protocol, value});
      if (index == 1 && which == InterfaceByte::TA) {
        const RateFactors f = RateFactorsOf(value);
        frame.fi = f.fi;
        frame.fmaxMhz = f.fmaxMhz;
        frame.di = f.di;
        if (!f.fi || !f.di)
          frame.problems.push_back("TA1 " + HexByte(value) + ": Fi or Di reserved for future use");
      }
      if (which == InterfaceByte::TD) {
        const int t = value & 0x0F;
        if (index == 1) frame.protocols.clear();
        if (t != 0) tckRequired = true;
        if (t != 15 && std::find(frame.protocols.begin(), frame.protocols.end(), t) == frame.protocols.end())
          frame.protocols.push_back(t);
        protocol = t;
        nextPresence = value >> 4;
      }
    }
    presence = nextPresence;
  }

  if (!cut) {
    const std::size_t historicalEnd = std::min(size, at + historicalCount);
    frame.historicalReached = true;
    frame.historical.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(historicalEnd));
    frame.historicalProblemsAt = frame.problems.size();
    if (historicalEnd - at < historicalCount) {
      frame.problems.push_back("Cut short: " + std::to_string(historicalCount) +
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
      frame.tck = {true, sum == 0, bytes[at]};
      if (sum != 0)
        frame.problems.push_back("TCK " + HexByte(bytes[at]) + " is wrong: " +
                                 HexByte(static_cast<std::uint8_t>(bytes[at] ^ sum)) + " expected");
      if (!tckRequired) frame.problems.push_back("TCK present although only T=0 is offered");
      ++at;
    }
  }
  if (size > at && !cut) frame.problems.push_back(Count(size - at, "byte") + " after the end of the ATR");
  if (size > kMaxAtrLength)
    frame.problems.push_back("Longer than the 33 bytes an ATR may have: " + std::to_string(size));
  return frame;
}

}  // namespace decode
