#include "drivers/pcsc/Atr.h"

#include <algorithm>
#include <array>
#include <bit>

namespace pcsc {

namespace {
constexpr std::uint8_t kHasTd = 0x80;
// Category 80, tag 4F (application identifier) with the PC/SC registered application provider.
constexpr std::array<std::uint8_t, 5> kPcscRid{0xA0, 0x00, 0x00, 0x03, 0x06};

bool StorageCard(const Bytes& historical) {
  return historical.size() >= 3 + kPcscRid.size() && historical[0] == 0x80 && historical[1] == 0x4F &&
         std::equal(kPcscRid.begin(), kPcscRid.end(), historical.begin() + 3);
}
}  // namespace

Bytes HistoricalBytes(const Bytes& atr) {
  if (atr.size() < 2) return {};
  const std::size_t count = atr[1] & 0x0F;
  std::size_t at = 2;
  std::uint8_t indicator = atr[1];
  for (;;) {
    const std::size_t interfaceBytes = std::popcount(static_cast<unsigned>(indicator & 0xF0));
    const bool more = indicator & kHasTd;
    at += interfaceBytes;
    if (!more || at > atr.size()) break;
    indicator = atr[at - 1];
  }
  if (at >= atr.size()) return {};
  return Bytes(atr.begin() + at, atr.begin() + std::min(atr.size(), at + count));
}

terminal::AnswerToReset AnswerOf(const Bytes& atr) {
  terminal::AnswerToReset answer{atr, HistoricalBytes(atr)};
  answer.synchronous = StorageCard(answer.historicalBytes);
  return answer;
}

}  // namespace pcsc
