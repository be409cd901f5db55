#include "tests/firmware/CheckedPort.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "firmware/FirmwareCheck.h"

namespace halvextest {

namespace {

constexpr std::array<uint32_t, 4> PauseLengthsMs = {10, 20, 50, 100};

// Every loop run to its limit: seven bases drained 1000 times (receive and drain pause, and the
// closing pause of a receive), two handshake receives of 1000 attempts (receive, closing and
// handshake pause), the size and ready loops of 1000, two exchanges of 10001 receives and a
// closing pause, and the pause between the exchanges.
constexpr size_t MaxPausesPerCall = 7 * (2 * 1000 + 1) + 2 * 3 * 1000 + 2 * 1000 + 2 * (10001 + 1) + 1;

bool OnCandidateBase(uint16_t port) {
  for (const uint16_t base : halvex::CandidateBases) {
    if (port >= base && port < base + 4) return true;
  }
  return false;
}

}  // namespace

void CheckedPort::Violation(std::string what) {
  if (violations_.size() < 8) violations_.push_back(std::move(what));
}

void CheckedPort::CheckPort(uint16_t port) {
  EndWait();
  if (!OnCandidateBase(port)) {
    char text[48];
    std::snprintf(text, sizeof text, "port 0x%x is not on a candidate base", port);
    Violation(text);
  }
}

uint8_t CheckedPort::In(uint16_t port) {
  CheckPort(port);
  return machine_.In(port);
}

void CheckedPort::Out(uint16_t port, uint8_t value) {
  CheckPort(port);
  if (port % 4 == halvex::reg::Status && (value & 0xF0)) {
    char text[48];
    std::snprintf(text, sizeof text, "control byte 0x%02x written to 0x%x", value, port);
    Violation(text);
  }
  machine_.Out(port, value);
}

// A pause reads the clock once to start and then once per pass; a pass that goes on dispatches.
// So a reading straight after a reading that was not followed by a dispatch starts a new pause.
uint32_t CheckedPort::TickCount() {
  const uint32_t now = machine_.TickCount();
  if (wait_ == Wait::Checked) EndWait();
  if (wait_ == Wait::None) {
    wait_ = Wait::Started;
    waitStart_ = lastCheck_ = now;
    return now;
  }
  checkBefore_ = lastCheck_;
  lastCheck_ = now;
  wait_ = Wait::Checked;
  return now;
}

CheckedPort::Dispatched CheckedPort::DispatchOneMessage() {
  if (wait_ != Wait::Checked) Violation("message dispatched outside a pause");
  wait_ = Wait::Started;
  const Dispatched d = machine_.DispatchOneMessage();
  if (d.quit) {
    quitTaken_ = true;
    quitExitCode_ = d.exitCode;
  }
  return d;
}

void CheckedPort::RepostQuit(int exitCode) {
  if (!quitTaken_ || exitCode != quitExitCode_) Violation("a quit message was reposted that was not taken");
  ++quitsReposted_;
  machine_.RepostQuit(exitCode);
}

// The pause went on while the clock had not passed its length and ended once it had: one of the
// documented lengths must lie between the last two readings.
void CheckedPort::EndWait() {
  if (wait_ == Wait::None) return;
  if (wait_ == Wait::Started) Violation("a pause ended without reading the clock");
  wait_ = Wait::None;
  const uint32_t stillWaiting = checkBefore_ - waitStart_;
  const uint32_t ended = lastCheck_ - waitStart_;
  bool documented = false;
  for (const uint32_t ms : PauseLengthsMs) documented |= stillWaiting <= ms && ms < ended;
  if (!documented) {
    char text[80];
    std::snprintf(text, sizeof text, "a pause ended after %u ms, still waiting at %u ms", ended,
                  stillWaiting);
    Violation(text);
  }
  if (++pausesThisCall_ > MaxPausesPerCall) {
    // The call will not come back by itself.
    std::fprintf(stderr, "more than %zu pauses in one call\n", MaxPausesPerCall);
    std::abort();
  }
}

void CheckedPort::BeginCall() {
  pausesThisCall_ = 0;
  quitTaken_ = false;
  quitsReposted_ = 0;
}

void CheckedPort::EndCall() {
  EndWait();
  if (quitsReposted_ != (quitTaken_ ? 1 : 0)) Violation("a quit message taken was not handed back once");
}

}  // namespace halvextest
