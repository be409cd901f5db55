#include "sim/card/AtrCheck.h"

#include <algorithm>

#include "decode/AtrFrame.h"

namespace sim {

// The frame alone: what the historical bytes hold is the card's own business, the terminal takes
// any, and the meanings of the bytes would only weigh on the driver.
CheckedAtr CheckAtr(const terminal::Bytes& bytes) {
  const decode::AtrFrame atr = decode::ParseAtrFrame(bytes);
  if (atr.synchronous) return {std::nullopt, "H1 to H4 of a memory card, not a processor card's ATR"};
  if (!atr.problems.empty()) return {std::nullopt, atr.problems.front()};
  AtrFacts facts;
  facts.historicalBytes = atr.historical;
  facts.offersT0 = std::find(atr.protocols.begin(), atr.protocols.end(), 0) != atr.protocols.end();
  facts.offersT1 = std::find(atr.protocols.begin(), atr.protocols.end(), 1) != atr.protocols.end();
  facts.firstProtocol = atr.protocols.empty() ? 0 : static_cast<unsigned>(atr.protocols.front());
  return {facts, {}};
}

}  // namespace sim
