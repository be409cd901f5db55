#pragma once
// One card slot of a terminal: where the card is and how to talk to it. The CT-BCS terminal works
// through this alone, so a simulated slot and a real reader's slot are interchangeable.

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace terminal {

using Bytes = std::vector<std::uint8_t>;

struct AnswerToReset {
  Bytes atr;
  Bytes historicalBytes;
  bool synchronous = false;  // a memory card rather than a processor card
};

class CardSlot {
 public:
  virtual ~CardSlot() = default;
  virtual bool CardPresent() = 0;
  // Present and powered since the last PowerOn; false once it was taken out, even if it is back.
  virtual bool CardPowered() = 0;
  // Nothing when there is no card or it does not answer.
  virtual std::optional<AnswerToReset> PowerOn() = 0;
  virtual void PowerOff() = 0;
  // The card's answer, status words included; nothing when the card is gone.
  virtual std::optional<Bytes> Transmit(const Bytes& apdu) = 0;
  // Pushes the card out as far as the slot can; it is present until someone takes it.
  virtual void Eject() = 0;
  // Each returns at once when the card is already in (or out), or after at most the limit.
  virtual bool WaitForInsertion(std::chrono::milliseconds limit) = 0;
  virtual bool WaitForRemoval(std::chrono::milliseconds limit) = 0;
};

}  // namespace terminal
