#include "sim/halvex/InterfaceCard.h"

#include <algorithm>
#include <utility>

namespace halvexsim {

namespace {

constexpr uint8_t Ready = 0x40;
constexpr uint8_t ReplyBit = 0x80;
constexpr uint8_t SendErrorBit = 0x02;
constexpr uint8_t ReceiveErrorBit = 0x01;

constexpr uint8_t TransferBit = 0x01;
constexpr uint8_t OpeningBit = 0x02;
constexpr uint8_t BlockSizeBit = 0x04;
constexpr uint8_t ResetBit = 0x08;

bool Rose(uint8_t before, uint8_t after, uint8_t bit) { return !(before & bit) && (after & bit); }
bool Fell(uint8_t before, uint8_t after, uint8_t bit) { return (before & bit) && !(after & bit); }

std::vector<uint8_t> StatusWord(uint8_t sw1, uint8_t sw2) { return T1Block({sw1, sw2}); }

}  // namespace

std::vector<uint8_t> T1Block(const std::vector<uint8_t>& info) {
  std::vector<uint8_t> block(info.size() + 4);
  block[0] = 0x12;
  block[1] = 0x00;
  block[2] = static_cast<uint8_t>(info.size());
  std::copy(info.begin(), info.end(), block.begin() + 3);
  uint8_t lrc = 0;
  for (size_t i = 0; i + 1 < block.size(); ++i) lrc ^= block[i];
  block.back() = lrc;
  return block;
}

InterfaceCard::InterfaceCard(CardConfig config) : config_(std::move(config)) {
  if (config_.identificationAtPowerUp) Queue(IdentificationBlock(), 0);
}

bool InterfaceCard::Owns(uint16_t port) const { return port >= config_.base && port < config_.base + 4; }

bool InterfaceCard::ReplyWaiting(uint32_t now) const {
  if (replies_.empty()) return false;
  const Reply& r = replies_.front();
  return static_cast<uint32_t>(now - r.queuedAt) >= r.delay;
}

bool InterfaceCard::Refusing() const {
  switch (config_.fault) {
    case Fault::NeverReady:
      return true;
    case Fault::RefusesBlockSize:  // the request is withdrawn once its answer is read
      return phase_ == Phase::AwaitBlockSize && !(control_ & BlockSizeBit);
    case Fault::NeverOpens:
      return phase_ == Phase::Operational;
    default:
      return false;
  }
}

uint8_t InterfaceCard::Status(uint32_t now) const {
  uint8_t s = config_.statusNoise;
  if (!Refusing()) s |= Ready;
  if (ReplyWaiting(now)) s |= ReplyBit;
  if (config_.fault == Fault::SendError) s |= SendErrorBit;
  if (config_.fault == Fault::ReceiveError) s |= ReceiveErrorBit;
  return s;
}

bool InterfaceCard::Silent() {
  ++accesses_;
  if (config_.goneAfterAccesses && accesses_ > *config_.goneAfterAccesses) gone_ = true;
  return gone_ || config_.fault == Fault::Gone;
}

uint8_t InterfaceCard::NextFlip() {
  return flipsUsed_ < config_.registerFlips.size() ? config_.registerFlips[flipsUsed_++] : 0;
}

uint8_t InterfaceCard::In(uint16_t port, uint32_t now) {
  if (Silent()) return 0xFF;
  const bool waiting = ReplyWaiting(now);
  const size_t length = waiting ? replies_.front().bytes.size() : 0;
  switch (port - config_.base) {
    case 0:
      if (!(control_ & TransferBit) || !waiting) return 0x00;
      readDuringTransfer_ = true;
      return readIndex_ < length ? replies_.front().bytes[readIndex_++] : 0x00;
    case 1:
      return static_cast<uint8_t>(Status(now) ^ NextFlip());
    case 2:
      return static_cast<uint8_t>((length & 0xFF) ^ NextFlip());
    default:
      return static_cast<uint8_t>((((length >> 8) & 0x07) | config_.lengthHighNoise) ^ NextFlip());
  }
}

void InterfaceCard::Out(uint16_t port, uint8_t value, uint32_t now) {
  if (Silent()) return;
  switch (port - config_.base) {
    case 0:
      if (control_ & TransferBit) sending_.push_back(value);
      break;
    case 1: {
      const uint8_t before = control_;
      control_ = value;
      ControlChanged(before, value, now);
      break;
    }
    case 2:
      sendLength_ = static_cast<uint16_t>((sendLength_ & 0xFF00) | value);
      break;
    default:
      sendLength_ = static_cast<uint16_t>((sendLength_ & 0x00FF) | value << 8);
      break;
  }
}

void InterfaceCard::Queue(std::vector<uint8_t> bytes, uint32_t now, uint32_t delay) {
  replies_.push_back(Reply{std::move(bytes), now, delay});
}

void InterfaceCard::ControlChanged(uint8_t before, uint8_t after, uint32_t now) {
  if (Rose(before, after, TransferBit)) {
    sending_.clear();
    readIndex_ = 0;
    readDuringTransfer_ = false;
  }
  if (Fell(before, after, TransferBit)) EndTransfer(now);

  // The end of the reset pulse restarts the firmware.
  if (Fell(before, after, ResetBit)) {
    replies_.clear();
    phase_ = Phase::Idle;
    agreedBlockSize_.reset();
    if (config_.fault != Fault::NoIdentification) Queue(IdentificationBlock(), now);
  }
  if (Rose(before, after, BlockSizeBit)) {
    phase_ = Phase::AwaitBlockSize;
    if (config_.fault != Fault::NoBlockSize) {
      Queue(
          config_.blockSizeReply.value_or(std::vector<uint8_t>{
              static_cast<uint8_t>(config_.blockSize >> 8), static_cast<uint8_t>(config_.blockSize & 0xFF)}),
          now);
    }
  }
  if (Rose(before, after, OpeningBit)) phase_ = Phase::Operational;
}

void InterfaceCard::EndTransfer(uint32_t now) {
  if (readDuringTransfer_ && !replies_.empty()) {
    if (readIndex_ < replies_.front().bytes.size()) outOfStep_ = true;
    replies_.pop_front();
  }
  readDuringTransfer_ = false;
  if (sending_.empty()) return;

  received_.push_back(sending_);
  if (sending_.size() != sendLength_) outOfStep_ = true;
  if (phase_ == Phase::AwaitBlockSize && sending_.size() == 2) {
    agreedBlockSize_ = static_cast<uint16_t>(sending_[0] << 8 | sending_[1]);
  } else if (phase_ == Phase::Operational) {
    Answer(sending_, now);
  }
  sending_.clear();
}

void InterfaceCard::Answer(const std::vector<uint8_t>& block, uint32_t now) {
  if (config_.fault == Fault::NoReply) return;
  uint8_t lrc = 0;
  for (uint8_t b : block) lrc ^= b;
  const bool wellFormed = block.size() >= 5 && block[2] + 4u == block.size() && lrc == 0;
  if (!wellFormed) {
    Queue(StatusWord(0x67, 0x00), now, config_.replyDelayMs);
    return;
  }
  switch (block[4]) {  // INS
    case 0xA4:
      Queue(config_.selectReply.value_or(StatusWord(0x90, 0x00)), now, config_.replyDelayMs);
      break;
    case 0xB0:
      Queue(ReadReplyBlock(), now, config_.replyDelayMs);
      break;
    default:
      Queue(StatusWord(0x6D, 0x00), now, config_.replyDelayMs);
      break;
  }
}

std::vector<uint8_t> InterfaceCard::IdentificationBlock() const {
  if (config_.identification) return *config_.identification;
  std::vector<uint8_t> ident = {0x01, 0x23, 'K', 'V', 'Q', 'T', '1', ' ', 'R', 'D', 'R'};
  if (config_.fault == Fault::WrongIdentification) ident[4] = 'X';
  ident.resize(20, 0x00);
  return ident;
}

std::vector<uint8_t> InterfaceCard::ReadReplyBlock() const {
  if (config_.readReply) return *config_.readReply;
  std::vector<uint8_t> info = config_.elementsBefore;
  if (config_.version) {
    info.push_back(0x0F);
    info.push_back(static_cast<uint8_t>(config_.version->size()));
    info.insert(info.end(), config_.version->begin(), config_.version->end());
  }
  info.push_back(0x90);
  info.push_back(0x00);
  return T1Block(info);
}

}  // namespace halvexsim
