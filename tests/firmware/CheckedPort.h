#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "firmware/ReaderPort.h"

namespace halvextest {

// Stands between the firmware check and a simulated machine and checks what the check does there:
// only the candidate bases' ports are touched, control writes carry only defined bits, every pause
// lasts one of the documented lengths on the simulated clock, a call takes no more pauses than its
// loop limits allow, and a quit message taken from the queue is handed back once.
class CheckedPort : public halvex::ReaderPort {
 public:
  explicit CheckedPort(halvex::ReaderPort& machine) : machine_(machine) {}

  uint8_t In(uint16_t port) override;
  void Out(uint16_t port, uint8_t value) override;
  uint32_t TickCount() override;
  Dispatched DispatchOneMessage() override;
  void RepostQuit(int exitCode) override;

  // Brackets one call of the library.
  void BeginCall();
  void EndCall();

  const std::vector<std::string>& Violations() const { return violations_; }

 private:
  enum class Wait { None, Started, Checked };

  void Violation(std::string what);
  void CheckPort(uint16_t port);
  void EndWait();

  halvex::ReaderPort& machine_;
  std::vector<std::string> violations_;

  Wait wait_ = Wait::None;
  uint32_t waitStart_ = 0;
  uint32_t lastCheck_ = 0;
  uint32_t checkBefore_ = 0;
  size_t pausesThisCall_ = 0;

  bool quitTaken_ = false;
  int quitExitCode_ = 0;
  int quitsReposted_ = 0;
};

}  // namespace halvextest
