#pragma once
// The simulated card slot: which card is in it, powered or not, and the person (or the settings'
// automation) who puts cards in and takes them out. Locked, because the terminal's control window
// changes it from its own thread while a CT_data call waits here.

#include <condition_variable>
#include <mutex>
#include <optional>

#include "sim/card/Clock.h"
#include "sim/card/MemoryCard.h"
#include "sim/card/ProcessorCard.h"
#include "terminal/CardSlot.h"

namespace sim {

enum class CardType { Processor, Memory };  // asynchronous and synchronous

struct SlotState {
  bool present = false;
  bool powered = false;
  bool ejected = false;  // pushed out and not yet taken
  CardType card = CardType::Processor;
};

// Unattended runs: a card goes in (or out) this long after a wait for it begins.
struct SlotAutomation {
  std::optional<Millis> insertAfter;
  std::optional<Millis> removeAfter;

  bool operator==(const SlotAutomation&) const = default;
};

class SimCardSlot : public terminal::CardSlot {
 public:
  explicit SimCardSlot(Clock& clock) : clock_(clock) {}

  // A card of the other type already in is swapped; the new one is not powered.
  void Insert(CardType card);
  void Remove();
  void SetAutomation(const SlotAutomation& automation);
  // Empty slot and cards as they left the factory.
  void Restart();
  SlotState State() const;

  bool CardPresent() override;
  bool CardPowered() override;
  std::optional<terminal::AnswerToReset> PowerOn() override;
  void PowerOff() override;
  std::optional<Bytes> Transmit(const Bytes& apdu) override;
  void Eject() override;
  bool WaitForInsertion(std::chrono::milliseconds limit) override;
  bool WaitForRemoval(std::chrono::milliseconds limit) override;

 private:
  SimCard& Card() { return state_.card == CardType::Processor ? static_cast<SimCard&>(processor_) : memory_; }
  void InsertLocked(CardType card);
  void RemoveLocked();
  // Waits until present_ equals wanted, doing the automatic step at its time.
  bool WaitFor(bool wanted, Millis limit);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  Clock& clock_;
  SlotState state_;
  SlotAutomation automation_;
  ProcessorCard processor_;
  MemoryCard memory_;
};

}  // namespace sim
