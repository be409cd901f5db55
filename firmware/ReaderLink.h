#pragma once

#include <cstddef>
#include <cstdint>

#include "firmware/ReaderPort.h"

namespace halvex {

enum class BlockResult : uint8_t {
  Done = 0,
  Failed = 1,         // reader not present, or a presence test failed
  NotReady = 2,       // status bit 6 clear
  NoData = 3,         // status bit 7 clear (receive only)
  ErrorReported = 4,  // status bit 1 after sending, bit 0 after receiving
};

namespace reg {
constexpr uint16_t Data = 0;
constexpr uint16_t Status = 1;  // read: status, write: control
constexpr uint16_t LengthLow = 2;
constexpr uint16_t LengthHigh = 3;
}  // namespace reg

namespace status {
constexpr uint8_t Mask = 0xC3;
constexpr uint8_t ReplyWaiting = 0x80;
constexpr uint8_t Ready = 0x40;
constexpr uint8_t SendError = 0x02;
constexpr uint8_t ReceiveError = 0x01;
}  // namespace status

namespace control {
constexpr uint8_t Transfer = 0x01;
constexpr uint8_t Opening = 0x02;
constexpr uint8_t BlockSize = 0x04;
constexpr uint8_t Reset = 0x08;
}  // namespace control

constexpr size_t IdentificationSize = 20;

// The identification block the interface sends: 0x01, any byte, "KVQ".
inline bool IsIdentification(const uint8_t* block) {
  return block[0] == 0x01 && block[2] == 'K' && block[3] == 'V' && block[4] == 'Q';
}

// The register-level protocol with the reader's interface card. One object
// holds what the hardware conversation needs to remember; the DLL keeps a
// single one for the whole process so the shadow control byte outlives calls.
class ReaderLink {
 public:
  explicit ReaderLink(ReaderPort& port) : port_(port) {}

  bool ReadReg(uint16_t port, uint8_t& value);
  bool WriteReg(uint16_t port, uint8_t value);
  void WaitWithMessages(uint32_t milliseconds);

  BlockResult SendBlock(const uint8_t* data, uint16_t length);
  // Stores at most `capacity` bytes; `length` receives the number stored.
  BlockResult ReceiveBlock(uint8_t* buffer, size_t capacity, uint16_t& length);
  // Gives Done or ErrorReported; the reply replaces the command in `buffer`.
  BlockResult TransmitBlock(uint8_t* buffer, size_t capacity, uint16_t& length);
  bool OpenReader(uint16_t limit, uint16_t& blockSize);

  // A quit message dispatched during a wait must still reach the caller's loop.
  void RepostPendingQuit();

  ReaderPort& Port() { return port_; }

  uint16_t portBase = 0;
  uint8_t controlByte = 0;
  bool readerPresent = false;
  uint8_t lastStatus = 0;

 private:
  bool PresenceHolds();
  bool ReadStatus(uint8_t& value);
  bool SetControl(uint8_t bit);
  bool ClearControl(uint8_t bit);
  BlockResult ReceiveForHandshake(uint8_t* buffer, size_t capacity);

  ReaderPort& port_;
  bool quitPending_ = false;
  int quitExitCode_ = 0;
};

}  // namespace halvex
