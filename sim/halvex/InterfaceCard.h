#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace halvexsim {

enum class Fault {
  None,
  Gone,                 // every register reads 0xFF
  NeverReady,           // status bit 6 never set
  NoIdentification,     // the reset pulse is not answered
  WrongIdentification,  // identification not 0x01 . "KVQ"
  NoBlockSize,          // the block-size request is not answered
  NoReply,              // command blocks are taken but never answered
  SendError,            // status bit 1 always set
  ReceiveError,         // status bit 0 always set
  RefusesBlockSize,     // never ready to take the host's answer to its block size
  NeverOpens,           // never ready again once told to open
};

struct CardConfig {
  uint16_t base = 0x300;
  Fault fault = Fault::None;
  // A fresh card may hold its identification block until it is read.
  bool identificationAtPowerUp = false;
  // The identification block the card sends; the usual 20 bytes when unset.
  std::optional<std::vector<uint8_t>> identification;
  uint16_t blockSize = 0x0100;
  // When set, the block-size answer as sent, which may be shorter or longer than two bytes.
  std::optional<std::vector<uint8_t>> blockSizeReply;
  // Text of the version element; no element at all when empty.
  std::optional<std::string> version = std::string("2.28");
  // Raw elements placed before the version element in the read reply.
  std::vector<uint8_t> elementsBefore;
  // When set, the whole select or read reply block, sent as is.
  std::optional<std::vector<uint8_t>> selectReply;
  std::optional<std::vector<uint8_t>> readReply;
  // Simulated milliseconds between a command block and its reply.
  uint32_t replyDelayMs = 0;
  // The card stops answering (reads 0xFF) after this many accesses.
  std::optional<size_t> goneAfterAccesses;
  // Bits the masks must ignore: outside 0xC3 in the status, above bit 2 in base+3.
  uint8_t statusNoise = 0;
  uint8_t lengthHighNoise = 0;
  // Bits flipped in the answers of successive status and length register reads: a card that
  // lies at any read. Zero keeps the card's own answer, and so does every read past the end.
  std::vector<uint8_t> registerFlips;
};

// An interface card at one base with the reader's firmware behind it, driven
// only through its four registers, like the real card.
class InterfaceCard {
 public:
  explicit InterfaceCard(CardConfig config);

  bool Owns(uint16_t port) const;
  uint8_t In(uint16_t port, uint32_t now);
  void Out(uint16_t port, uint8_t value, uint32_t now);

  const CardConfig& Config() const { return config_; }
  // Every block the host sent, in order (handshake block size included).
  const std::vector<std::vector<uint8_t>>& ReceivedBlocks() const { return received_; }
  // Set when a reply transfer ended before all its bytes were read.
  bool LeftOutOfStep() const { return outOfStep_; }
  std::optional<uint16_t> AgreedBlockSize() const { return agreedBlockSize_; }
  void Unplug() { gone_ = true; }

 private:
  struct Reply {
    std::vector<uint8_t> bytes;
    uint32_t queuedAt = 0;
    uint32_t delay = 0;
  };
  enum class Phase { Idle, AwaitBlockSize, Operational };

  bool Silent();
  uint8_t NextFlip();
  bool ReplyWaiting(uint32_t now) const;
  bool Refusing() const;
  uint8_t Status(uint32_t now) const;
  void Queue(std::vector<uint8_t> bytes, uint32_t now, uint32_t delay = 0);
  void ControlChanged(uint8_t before, uint8_t after, uint32_t now);
  void EndTransfer(uint32_t now);
  void Answer(const std::vector<uint8_t>& block, uint32_t now);
  std::vector<uint8_t> IdentificationBlock() const;
  std::vector<uint8_t> ReadReplyBlock() const;

  CardConfig config_;
  bool gone_ = false;
  size_t accesses_ = 0;
  size_t flipsUsed_ = 0;
  uint8_t control_ = 0;
  Phase phase_ = Phase::Idle;
  std::deque<Reply> replies_;
  size_t readIndex_ = 0;
  uint16_t sendLength_ = 0;
  std::vector<uint8_t> sending_;
  bool readDuringTransfer_ = false;
  bool outOfStep_ = false;
  std::vector<std::vector<uint8_t>> received_;
  std::optional<uint16_t> agreedBlockSize_;
};

// Builds a T=1 block (NAD 0x12, PCB 0) around an information field.
std::vector<uint8_t> T1Block(const std::vector<uint8_t>& info);

}  // namespace halvexsim
