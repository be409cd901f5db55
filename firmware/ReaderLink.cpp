#include "firmware/ReaderLink.h"

namespace halvex {

namespace {

constexpr uint32_t ReceivePauseMs = 50;
constexpr int TransmitRepetitions = 10000;
constexpr uint32_t HandshakeReceivePauseMs = 100;
constexpr uint32_t HandshakeSendPauseMs = 10;
constexpr uint32_t HandshakeReadyPauseMs = 100;
constexpr int HandshakeAttempts = 1000;

bool Retry(BlockResult r) { return r == BlockResult::NotReady || r == BlockResult::NoData; }

}  // namespace

// A card that is not there floats the bus to 0xFF; one register that reads
// anything else is enough to believe it is still fitted.
bool ReaderLink::PresenceHolds() {
  if (port_.In(portBase + reg::Status) != 0xFF) return true;
  if (port_.In(portBase + reg::LengthLow) != 0xFF) return true;
  if (port_.In(portBase + reg::LengthHigh) != 0xFF) return true;
  readerPresent = false;
  return false;
}

bool ReaderLink::ReadReg(uint16_t port, uint8_t& value) {
  if (!PresenceHolds()) return false;
  value = port_.In(port);
  return true;
}

bool ReaderLink::WriteReg(uint16_t port, uint8_t value) {
  if (!PresenceHolds()) return false;
  port_.Out(port, value);
  return true;
}

bool ReaderLink::ReadStatus(uint8_t& value) {
  uint8_t raw = 0;
  if (!ReadReg(portBase + reg::Status, raw)) return false;
  lastStatus = raw & status::Mask;
  value = lastStatus;
  return true;
}

bool ReaderLink::SetControl(uint8_t bit) {
  controlByte |= bit;
  return WriteReg(portBase + reg::Status, controlByte);
}

bool ReaderLink::ClearControl(uint8_t bit) {
  controlByte &= static_cast<uint8_t>(~bit);
  return WriteReg(portBase + reg::Status, controlByte);
}

void ReaderLink::WaitWithMessages(uint32_t milliseconds) {
  // Unsigned difference, so a wait across the 49.7-day wrap still lasts.
  const uint32_t start = port_.TickCount();
  while (static_cast<uint32_t>(port_.TickCount() - start) <= milliseconds) {
    const ReaderPort::Dispatched d = port_.DispatchOneMessage();
    if (d.quit) {
      quitPending_ = true;
      quitExitCode_ = d.exitCode;
    }
  }
}

void ReaderLink::RepostPendingQuit() {
  if (!quitPending_) return;
  quitPending_ = false;
  port_.RepostQuit(quitExitCode_);
}

BlockResult ReaderLink::ReceiveBlock(uint8_t* buffer, size_t capacity, uint16_t& length) {
  WaitWithMessages(ReceivePauseMs);
  if (!readerPresent) return BlockResult::Failed;

  uint8_t s = 0;
  if (!ReadStatus(s)) return BlockResult::Failed;
  if (!(s & status::ReplyWaiting)) return BlockResult::NoData;
  if (!(s & status::Ready)) return BlockResult::NotReady;

  if (!SetControl(control::Transfer)) return BlockResult::Failed;
  if (!ReadStatus(s)) return BlockResult::Failed;
  if (!(s & status::Ready)) {
    return ClearControl(control::Transfer) ? BlockResult::NotReady : BlockResult::Failed;
  }

  uint8_t low = 0;
  uint8_t high = 0;
  if (!ReadReg(portBase + reg::LengthLow, low)) return BlockResult::Failed;
  if (!ReadReg(portBase + reg::LengthHigh, high)) return BlockResult::Failed;
  const size_t total = (high & 0x07u) * 256u + low;

  // Every byte is read even when the buffer is full, so the card ends the
  // transfer in step with us; the excess is dropped.
  size_t stored = 0;
  for (size_t i = 0; i < total; ++i) {
    const uint8_t b = port_.In(portBase + reg::Data);
    if (stored < capacity) buffer[stored++] = b;
  }
  length = static_cast<uint16_t>(stored);

  if (!ReadStatus(s)) return BlockResult::Failed;
  if (s & status::ReceiveError) {
    return ClearControl(control::Transfer) ? BlockResult::ErrorReported : BlockResult::Failed;
  }
  if (!ClearControl(control::Transfer)) return BlockResult::Failed;
  WaitWithMessages(ReceivePauseMs);
  return BlockResult::Done;
}

BlockResult ReaderLink::SendBlock(const uint8_t* data, uint16_t length) {
  if (!readerPresent) return BlockResult::Failed;
  if (!SetControl(control::Transfer)) return BlockResult::Failed;

  uint8_t s = 0;
  if (!ReadStatus(s)) return BlockResult::Failed;
  if (!(s & status::Ready)) {
    return ClearControl(control::Transfer) ? BlockResult::NotReady : BlockResult::Failed;
  }

  if (!WriteReg(portBase + reg::LengthLow, static_cast<uint8_t>(length & 0xFF))) return BlockResult::Failed;
  if (!WriteReg(portBase + reg::LengthHigh, static_cast<uint8_t>(length >> 8))) return BlockResult::Failed;
  for (uint16_t i = 0; i < length; ++i) {
    if (!WriteReg(portBase + reg::Data, data[i])) return BlockResult::Failed;
  }

  if (!ReadStatus(s)) return BlockResult::Failed;
  if (!ClearControl(control::Transfer)) return BlockResult::Failed;
  return (s & status::SendError) ? BlockResult::ErrorReported : BlockResult::Done;
}

BlockResult ReaderLink::TransmitBlock(uint8_t* buffer, size_t capacity, uint16_t& length) {
  // A send that went wrong shows up as a missing or failed reply.
  SendBlock(buffer, length);
  for (int repetition = 0;; ++repetition) {
    const BlockResult r = ReceiveBlock(buffer, capacity, length);
    if (r == BlockResult::Done) return BlockResult::Done;
    if (!Retry(r) || repetition == TransmitRepetitions) return BlockResult::ErrorReported;
  }
}

BlockResult ReaderLink::ReceiveForHandshake(uint8_t* buffer, size_t capacity) {
  uint16_t length = 0;
  for (int attempts = 0;;) {
    const BlockResult r = ReceiveBlock(buffer, capacity, length);
    if (r == BlockResult::Failed) return r;
    WaitWithMessages(HandshakeReceivePauseMs);
    if (++attempts == HandshakeAttempts) return BlockResult::Failed;
    if (!Retry(r)) return r;
  }
}

bool ReaderLink::OpenReader(uint16_t limit, uint16_t& blockSize) {
  if (!SetControl(control::Reset)) return false;
  if (!ClearControl(control::Reset)) return false;

  uint8_t buffer[IdentificationSize] = {};
  if (ReceiveForHandshake(buffer, sizeof buffer) == BlockResult::Failed) return false;
  if (!IsIdentification(buffer)) return false;

  if (!SetControl(control::BlockSize)) return false;
  if (ReceiveForHandshake(buffer, sizeof buffer) == BlockResult::Failed) return false;
  uint16_t size = static_cast<uint16_t>(buffer[0] << 8 | buffer[1]);
  if (size > limit) {
    size = limit;
    buffer[0] = static_cast<uint8_t>(limit >> 8);
    buffer[1] = static_cast<uint8_t>(limit & 0xFF);
  }
  blockSize = size;
  if (!ClearControl(control::BlockSize)) return false;

  for (int attempts = 0;;) {
    const BlockResult r = SendBlock(buffer, 2);
    if (r == BlockResult::Failed) return false;
    WaitWithMessages(HandshakeSendPauseMs);
    if (++attempts == HandshakeAttempts) return false;
    if (r != BlockResult::NotReady) break;
  }

  if (!SetControl(control::Opening)) return false;
  for (int attempts = 0;;) {
    uint8_t s = 0;
    if (!ReadStatus(s)) return false;
    WaitWithMessages(HandshakeReadyPauseMs);
    if (++attempts == HandshakeAttempts) return false;
    if (s & status::Ready) break;
  }
  return ClearControl(control::Opening);
}

}  // namespace halvex
