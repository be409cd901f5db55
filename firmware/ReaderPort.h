#pragma once

#include <cstdint>

namespace halvex {

// What the protocol needs from the machine: byte-wide port I/O, the
// millisecond tick counter and the calling thread's message queue.
// The DLL backs it with the real ports; tests back it with a simulated card.
class ReaderPort {
 public:
  struct Dispatched {
    bool any = false;   // a message was taken off the queue
    bool quit = false;  // ... and it was a quit message
    int exitCode = 0;   // the quit message's exit code
  };

  virtual ~ReaderPort() = default;
  virtual uint8_t In(uint16_t port) = 0;
  virtual void Out(uint16_t port, uint8_t value) = 0;
  virtual uint32_t TickCount() = 0;
  // Removes, translates and dispatches one waiting message, if any.
  virtual Dispatched DispatchOneMessage() = 0;
  // Puts a quit message back on the queue for the caller's message loop.
  virtual void RepostQuit(int exitCode) = 0;
};

}  // namespace halvex
