#include "sim/card/SimCardSlot.h"

#include <algorithm>

namespace sim {

namespace {
std::vector<FileCard> BuiltInCards() {
  return {
      {{"Processor card (asynchronous)", "processor card (asynchronous)"}, std::make_shared<ProcessorCard>()},
      {{"Memory card (synchronous)", "memory card (synchronous)"}, std::make_shared<MemoryCard>()}};
}
}  // namespace

SimCardSlot::SimCardSlot(Clock& clock) : clock_(clock), cards_(BuiltInCards()) {}

void SimCardSlot::Insert(std::size_t card) {
  std::lock_guard lock(mutex_);
  InsertLocked(card);
}

void SimCardSlot::Remove() {
  std::lock_guard lock(mutex_);
  RemoveLocked();
}

void SimCardSlot::InsertLocked(std::size_t card) {
  if (card >= cards_.size() || (state_.present && state_.card == card)) return;
  RemoveLocked();
  state_.card = card;
  state_.present = true;
  changed_.notify_all();
}

void SimCardSlot::RemoveLocked() {
  if (state_.powered) Card().PowerOff();
  state_.present = state_.powered = state_.ejected = false;
  changed_.notify_all();
}

void SimCardSlot::SetFileCards(std::vector<FileCard> cards) {
  std::lock_guard lock(mutex_);
  const std::size_t current = state_.card;
  const bool fileCardIn = state_.present && current >= kFirstFileCard;
  const std::shared_ptr<SimCard> before = cards_[current].card;
  const bool stillThere = current < kFirstFileCard + cards.size();
  if (fileCardIn && (!stillThere || cards[current - kFirstFileCard].card != before)) RemoveLocked();
  cards_.resize(kFirstFileCard);
  for (FileCard& card : cards) cards_.push_back(std::move(card));
  if (fileCardIn && stillThere && cards_[current].card != before) InsertLocked(current);
  if (state_.card >= cards_.size()) state_.card = kBuiltInProcessor;
}

std::vector<CardChoice> SimCardSlot::Choices() const {
  std::lock_guard lock(mutex_);
  std::vector<CardChoice> choices;
  for (const FileCard& card : cards_) choices.push_back(card.choice);
  return choices;
}

void SimCardSlot::SetAutomation(const SlotAutomation& automation) {
  std::lock_guard lock(mutex_);
  automation_ = automation;
}

void SimCardSlot::Restart() {
  std::lock_guard lock(mutex_);
  RemoveLocked();
  automation_ = {};
  cards_ = BuiltInCards();
  state_.card = kBuiltInProcessor;
}

SlotState SimCardSlot::State() const {
  std::lock_guard lock(mutex_);
  return state_;
}

bool SimCardSlot::CardPresent() {
  std::lock_guard lock(mutex_);
  return state_.present;
}

bool SimCardSlot::CardPowered() {
  std::lock_guard lock(mutex_);
  return state_.powered;
}

std::optional<terminal::AnswerToReset> SimCardSlot::PowerOn() {
  std::lock_guard lock(mutex_);
  if (!state_.present) return std::nullopt;
  state_.powered = true;
  return Card().PowerOn();
}

void SimCardSlot::PowerOff() {
  std::lock_guard lock(mutex_);
  if (state_.powered) Card().PowerOff();
  state_.powered = false;
}

std::optional<Bytes> SimCardSlot::Transmit(const Bytes& apdu) {
  std::lock_guard lock(mutex_);
  if (!state_.present || !state_.powered) return std::nullopt;
  return Card().Process(apdu);
}

void SimCardSlot::Eject() {
  std::lock_guard lock(mutex_);
  if (!state_.present) return;
  if (state_.powered) Card().PowerOff();
  state_.powered = false;
  state_.ejected = true;
}

bool SimCardSlot::WaitForInsertion(std::chrono::milliseconds limit) { return WaitFor(true, limit); }

bool SimCardSlot::WaitForRemoval(std::chrono::milliseconds limit) { return WaitFor(false, limit); }

bool SimCardSlot::WaitFor(bool wanted, Millis limit) {
  std::unique_lock lock(mutex_);
  const std::optional<Millis> automaticAfter = wanted ? automation_.insertAfter : automation_.removeAfter;
  const Millis start = clock_.Now();
  const Millis deadline = start + limit;
  const std::optional<Millis> automaticAt =
      automaticAfter ? std::optional<Millis>(start + *automaticAfter) : std::nullopt;
  while (state_.present != wanted) {
    const Millis now = clock_.Now();
    if (automaticAt && now >= *automaticAt) {
      if (wanted) {
        InsertLocked(state_.card);
      } else {
        RemoveLocked();
      }
      break;
    }
    if (now >= deadline) return false;
    clock_.WaitUntil(lock, changed_, automaticAt ? std::min(deadline, *automaticAt) : deadline);
  }
  return true;
}

}  // namespace sim
