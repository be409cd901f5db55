#include "sim/card/AtrCheck.h"

#include <algorithm>

#include "decode/Atr.h"

namespace sim {

CheckedAtr CheckAtr(const terminal::Bytes& bytes) {
  const decode::Atr atr = decode::DecodeAtr(bytes);
  if (atr.synchronous) return {std::nullopt, "H1 to H4 of a memory card, not a processor card's ATR"};
  // What the historical bytes hold is the card's own business; the terminal takes any.
  const auto historical = [&](const std::string& p) {
    return std::find(atr.historical.problems.begin(), atr.historical.problems.end(), p) !=
           atr.historical.problems.end();
  };
  const auto fault = std::find_if_not(atr.problems.begin(), atr.problems.end(), historical);
  if (fault != atr.problems.end()) return {std::nullopt, *fault};
  AtrFacts facts;
  facts.historicalBytes = atr.historical.bytes;
  facts.offersT0 = std::find(atr.protocols.begin(), atr.protocols.end(), 0) != atr.protocols.end();
  facts.offersT1 = std::find(atr.protocols.begin(), atr.protocols.end(), 1) != atr.protocols.end();
  facts.firstProtocol = atr.protocols.empty() ? 0 : static_cast<unsigned>(atr.protocols.front());
  return {facts, {}};
}

}  // namespace sim
