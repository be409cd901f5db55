#pragma once
// Whether a processor card's ATR is one a terminal accepts (ISO/IEC 7816-3), and what a card file
// needs from it, from the frame of the ATR.

#include <optional>
#include <string>

#include "terminal/CardSlot.h"

namespace sim {

struct AtrFacts {
  terminal::Bytes historicalBytes;
  bool offersT0 = false;
  bool offersT1 = false;
  unsigned firstProtocol = 0;  // the card's choice when nobody asks for another
};

struct CheckedAtr {
  std::optional<AtrFacts> facts;  // none when the ATR is wrong
  std::string problem;            // the decoder's words for what is wrong
};

CheckedAtr CheckAtr(const terminal::Bytes& atr);

}  // namespace sim
