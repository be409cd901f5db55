#include "sim/card/AtrCheck.h"

#include <bit>
#include <cstdio>

namespace sim {

namespace {
constexpr std::size_t kMaxAtr = 33;
constexpr std::uint8_t kHasTd = 0x80;

std::string Hex(std::uint8_t byte) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", byte);
  return text;
}

CheckedAtr Wrong(std::string problem) { return {std::nullopt, std::move(problem)}; }
}  // namespace

CheckedAtr CheckAtr(const terminal::Bytes& atr) {
  if (atr.empty()) return Wrong("is empty");
  if (atr.size() > kMaxAtr) return Wrong("is longer than 33 bytes");
  if (atr[0] != 0x3B && atr[0] != 0x3F) return Wrong("begins with " + Hex(atr[0]) + ", not with TS 3B or 3F");
  if (atr.size() < 2) return Wrong("ends after TS");

  AtrFacts facts;
  bool anyTd = false, tckRequired = false;
  std::size_t at = 2;
  std::uint8_t indicator = atr[1];
  for (;;) {
    at += std::popcount(static_cast<unsigned>(indicator & 0xF0));
    if (at > atr.size()) return Wrong("ends inside its interface bytes");
    if (!(indicator & kHasTd)) break;
    const std::uint8_t td = atr[at - 1];
    const unsigned protocol = td & 0x0F;
    if (!anyTd) facts.firstProtocol = protocol;
    anyTd = true;
    facts.offersT0 |= protocol == 0;
    facts.offersT1 |= protocol == 1;
    tckRequired |= protocol != 0;  // TCK is left out only when T=0 is all there is
    indicator = td;
  }
  if (!anyTd) facts.offersT0 = true;

  const std::size_t historical = atr[1] & 0x0F;
  if (at + historical > atr.size())
    return Wrong("ends inside its " + std::to_string(historical) + " historical bytes");
  facts.historicalBytes.assign(atr.begin() + at, atr.begin() + at + historical);
  const std::size_t after = atr.size() - at - historical;
  if (!tckRequired) {
    if (after) return Wrong("has " + std::to_string(after) + " bytes after its historical bytes");
    return {facts, {}};
  }
  if (after == 0) return Wrong("has no TCK, which a protocol other than T=0 requires");
  if (after > 1) return Wrong("has " + std::to_string(after - 1) + " bytes after its TCK");
  std::uint8_t check = 0;
  for (std::size_t i = 1; i + 1 < atr.size(); ++i) check ^= atr[i];
  if (check != atr.back()) return Wrong("has TCK " + Hex(atr.back()) + " where " + Hex(check) + " is right");
  return {facts, {}};
}

}  // namespace sim
