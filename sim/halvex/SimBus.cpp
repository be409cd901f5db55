#include "sim/halvex/SimBus.h"

#include <utility>

namespace halvexsim {

SimBus::SimBus(uint32_t clockStart, uint32_t msPerTickRead)
    : start_(clockStart), now_(clockStart), step_(msPerTickRead) {}

InterfaceCard& SimBus::AddCard(CardConfig config) {
  cards_.push_back(std::make_unique<InterfaceCard>(std::move(config)));
  return *cards_.back();
}

InterfaceCard* SimBus::CardAt(uint16_t port) {
  for (auto& card : cards_) {
    if (card->Owns(port)) return card.get();
  }
  return nullptr;
}

uint8_t SimBus::In(uint16_t port) {
  InterfaceCard* card = CardAt(port);
  const uint8_t value = card ? card->In(port, now_) : 0xFF;
  if (recording_) accesses_.push_back({false, port, value, now_});
  return value;
}

void SimBus::Out(uint16_t port, uint8_t value) {
  if (recording_) accesses_.push_back({true, port, value, now_});
  if (InterfaceCard* card = CardAt(port)) card->Out(port, value, now_);
}

uint32_t SimBus::TickCount() {
  const uint32_t t = now_;
  now_ += step_;
  return t;
}

SimBus::Dispatched SimBus::DispatchOneMessage() {
  if (messages_.empty() || static_cast<uint32_t>(now_ - start_) < messages_.front().afterMs) return {};
  const Message m = messages_.front();
  messages_.pop_front();
  ++dispatched_;
  return {true, m.quit, m.quit ? m.value : 0};
}

void SimBus::RepostQuit(int exitCode) { repostedQuits_.push_back(exitCode); }

}  // namespace halvexsim
