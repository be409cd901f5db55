#pragma once
// What the terminal layer needs from a reader's ATR: its historical bytes, and whether the reader
// stands in for a memory card (the ATR PC/SC readers make up for synchronous cards).

#include "drivers/pcsc/PcscApi.h"
#include "terminal/CardSlot.h"

namespace pcsc {

// As many historical bytes as the ATR holds of those it announces.
Bytes HistoricalBytes(const Bytes& atr);

terminal::AnswerToReset AnswerOf(const Bytes& atr);

}  // namespace pcsc
