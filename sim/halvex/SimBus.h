#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "firmware/ReaderPort.h"
#include "sim/halvex/InterfaceCard.h"

namespace halvexsim {

struct PortAccess {
  bool write = false;
  uint16_t port = 0;
  uint8_t value = 0;
  uint32_t tick = 0;  // the simulated clock when it happened

  bool operator==(const PortAccess& o) const {
    return write == o.write && port == o.port && value == o.value;
  }
};

// The I/O bus of a simulated machine: interface cards at their bases, empty
// slots floating at 0xFF, a clock that moves only when it is read, and a
// scripted message queue. Records every port access in order.
class SimBus : public halvex::ReaderPort {
 public:
  explicit SimBus(uint32_t clockStart = 0, uint32_t msPerTickRead = 1);

  InterfaceCard& AddCard(CardConfig config);

  uint8_t In(uint16_t port) override;
  void Out(uint16_t port, uint8_t value) override;
  uint32_t TickCount() override;
  Dispatched DispatchOneMessage() override;
  void RepostQuit(int exitCode) override;

  uint32_t Now() const { return now_; }
  const std::vector<PortAccess>& Accesses() const { return accesses_; }
  void ClearAccesses() { accesses_.clear(); }
  void SetRecording(bool on) { recording_ = on; }

  // Scripted messages, taken in order; a quit message carries its exit code. A message arrives
  // once the clock has moved `afterMs` from its start, and holds back those queued after it.
  void QueueMessage(int id, uint32_t afterMs = 0) { messages_.push_back({false, id, afterMs}); }
  void QueueQuit(int exitCode, uint32_t afterMs = 0) { messages_.push_back({true, exitCode, afterMs}); }
  size_t MessagesDispatched() const { return dispatched_; }
  const std::vector<int>& RepostedQuits() const { return repostedQuits_; }

 private:
  struct Message {
    bool quit;
    int value;
    uint32_t afterMs;
  };
  InterfaceCard* CardAt(uint16_t port);

  uint32_t start_;
  uint32_t now_;
  uint32_t step_;
  bool recording_ = true;
  std::vector<std::unique_ptr<InterfaceCard>> cards_;
  std::vector<PortAccess> accesses_;
  std::deque<Message> messages_;
  size_t dispatched_ = 0;
  std::vector<int> repostedQuits_;
};

}  // namespace halvexsim
