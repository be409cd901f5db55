#pragma once
// The simulated card slot: which card is in it, powered or not, and the person (or the settings'
// automation) who puts cards in and takes them out. Locked, because the terminal's control window
// changes it from its own thread while a CT_data call waits here.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/card/Clock.h"
#include "sim/card/MemoryCard.h"
#include "sim/card/ProcessorCard.h"
#include "terminal/CardSlot.h"

namespace sim {

enum class CardType { Processor, Memory };  // asynchronous and synchronous

// A card that can be put in the slot, as a person chooses it.
struct CardChoice {
  std::string name;         // in the list to choose from
  std::string description;  // in the terminal's state: "processor card (asynchronous)"

  bool operator==(const CardChoice&) const = default;
};

// A card read from a card file, for the slot's list of cards.
struct FileCard {
  CardChoice choice;
  std::shared_ptr<SimCard> card;
};

// The built-in cards come first in the slot's list of cards; cards from files follow.
inline constexpr std::size_t kBuiltInProcessor = 0;
inline constexpr std::size_t kBuiltInMemory = 1;
inline constexpr std::size_t kFirstFileCard = 2;

inline std::size_t BuiltInCard(CardType type) {
  return type == CardType::Memory ? kBuiltInMemory : kBuiltInProcessor;
}

struct SlotState {
  bool present = false;
  bool powered = false;
  bool ejected = false;                  // pushed out and not yet taken
  std::size_t card = kBuiltInProcessor;  // in the slot's list of cards
};

// Unattended runs: a card goes in (or out) this long after a wait for it begins.
struct SlotAutomation {
  std::optional<Millis> insertAfter;
  std::optional<Millis> removeAfter;

  bool operator==(const SlotAutomation&) const = default;
};

class SimCardSlot : public terminal::CardSlot {
 public:
  explicit SimCardSlot(Clock& clock);

  // Another card already in is swapped; the new one is not powered. A card not in the list is not.
  void Insert(std::size_t card);
  void Insert(CardType builtIn) { Insert(BuiltInCard(builtIn)); }
  void Remove();
  // The cards after the built-in ones. The card in the slot stays if it is still in the list; a
  // new version of it (the same place) is swapped in, not powered; a card gone from it is out.
  void SetFileCards(std::vector<FileCard> cards);
  std::vector<CardChoice> Choices() const;
  void SetAutomation(const SlotAutomation& automation);
  // Empty slot, the built-in cards as they left the factory, no cards from files.
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
  SimCard& Card() { return *cards_[state_.card].card; }
  void InsertLocked(std::size_t card);
  void RemoveLocked();
  // Waits until present_ equals wanted, doing the automatic step at its time.
  bool WaitFor(bool wanted, Millis limit);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  Clock& clock_;
  SlotState state_;
  SlotAutomation automation_;
  std::vector<FileCard> cards_;
};

}  // namespace sim
