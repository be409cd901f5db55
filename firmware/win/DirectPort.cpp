#include <windows.h>

#include "firmware/win/MessagePump.h"
#include "firmware/win/ProcessPort.h"

namespace halvex {

namespace {

// The card's registers through the processor's I/O instructions. They fault
// unless the process has been granted I/O privilege for these ports.
class DirectPort final : public ReaderPort {
 public:
  uint8_t In(uint16_t port) override {
    uint8_t value;
    __asm__ __volatile__("inb %w1, %b0" : "=a"(value) : "Nd"(port));
    return value;
  }

  void Out(uint16_t port, uint8_t value) override {
    __asm__ __volatile__("outb %b0, %w1" : : "a"(value), "Nd"(port));
  }

  uint32_t TickCount() override { return GetTickCount(); }
  Dispatched DispatchOneMessage() override { return PumpOneMessage(); }
  void RepostQuit(int exitCode) override { PostQuitAgain(exitCode); }
};

}  // namespace

ReaderPort& ProcessPort() {
  static DirectPort port;
  return port;
}

}  // namespace halvex
