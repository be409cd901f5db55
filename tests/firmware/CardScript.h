#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/halvex/InterfaceCard.h"

namespace halvextest {

// Everything a simulated machine can do to the firmware check, as the fuzzer's input lays it out.
// Byte layout (little-endian; bytes past the end of the input read as 0):
//   0      flags: 1 identification waiting at power-up, 2 a second call, 4 a quit message,
//          8 an honest second card three bases on, 16 no card at all
//   1      base: index into the candidate bases, modulo 7
//   2      fault: index into halvexsim::Fault; other values give none, so that most inputs
//          do not spend their time running into the time-outs
//   3-4    the clock starts this many ms before its wrap (0: at 0)
//   5      simulated ms per clock reading: 64 less the byte modulo 64, so a short input gets the
//          coarse clock that keeps the long time-outs cheap
//   6-7    the card disappears after this many accesses (0: never)
//   8      ordinary messages waiting at the start
//   9-10   ms after the start at which the quit message arrives, if there is one
//   11     the quit message's exit code
//   12-13  ms between a command block and its reply
//   14-15  status noise (outside the 0xC3 mask) and high-length noise (above bit 2)
//   then four blocks, each an 11-bit length in two bytes and that many bytes: the identification,
//   the block-size answer, the select reply and the read reply
//   then the rest: bits flipped in successive status and length register reads.
struct CardScript {
  bool cardFitted = true;
  halvexsim::CardConfig card;
  bool secondCard = false;
  uint32_t clockStart = 0;
  uint32_t msPerTickRead = 1;
  uint8_t messages = 0;
  bool quit = false;
  uint16_t quitAfterMs = 0;
  uint8_t quitExitCode = 0;
  int calls = 1;
};

CardScript DecodeCardScript(const uint8_t* data, size_t size);

// The inverse, for writing seeds; the card's blocks must all be set.
std::vector<uint8_t> EncodeCardScript(const CardScript& script);

}  // namespace halvextest
