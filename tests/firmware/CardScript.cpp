#include "tests/firmware/CardScript.h"

#include <algorithm>
#include <stdexcept>

#include "firmware/FirmwareCheck.h"

namespace halvextest {

namespace {

constexpr uint8_t PowerUpFlag = 1;
constexpr uint8_t SecondCallFlag = 2;
constexpr uint8_t QuitFlag = 4;
constexpr uint8_t SecondCardFlag = 8;
constexpr uint8_t NoCardFlag = 16;
constexpr int FaultCount = static_cast<int>(halvexsim::Fault::NeverOpens) + 1;
constexpr size_t MaxBlock = 2047;

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint16_t Word() {
    const uint8_t low = Byte();
    return static_cast<uint16_t>(low | Byte() << 8);
  }
  std::vector<uint8_t> Block() {
    const size_t announced = Word() & MaxBlock;
    const size_t length = std::min(announced, size_ - pos_);
    std::vector<uint8_t> block(data_ + pos_, data_ + pos_ + length);
    pos_ += length;
    return block;
  }
  std::vector<uint8_t> Rest() {
    std::vector<uint8_t> rest(data_ + pos_, data_ + size_);
    pos_ = size_;
    return rest;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

void PutWord(std::vector<uint8_t>& out, uint32_t value) {
  if (value > 0xFFFF) throw std::invalid_argument("value does not fit the script's two bytes");
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutBlock(std::vector<uint8_t>& out, const std::optional<std::vector<uint8_t>>& block) {
  if (!block || block->size() > MaxBlock) throw std::invalid_argument("script blocks must be set and fit");
  PutWord(out, static_cast<uint32_t>(block->size()));
  out.insert(out.end(), block->begin(), block->end());
}

}  // namespace

CardScript DecodeCardScript(const uint8_t* data, size_t size) {
  Reader in(data, size);
  CardScript s;
  const uint8_t flags = in.Byte();
  s.card.identificationAtPowerUp = flags & PowerUpFlag;
  s.calls = flags & SecondCallFlag ? 2 : 1;
  s.quit = flags & QuitFlag;
  s.secondCard = flags & SecondCardFlag;
  s.cardFitted = !(flags & NoCardFlag);
  s.card.base = halvex::CandidateBases[in.Byte() % halvex::CandidateBases.size()];
  const uint8_t fault = in.Byte();
  s.card.fault = fault < FaultCount ? static_cast<halvexsim::Fault>(fault) : halvexsim::Fault::None;
  s.clockStart = 0u - in.Word();
  s.msPerTickRead = 64u - in.Byte() % 64u;
  if (const uint16_t gone = in.Word()) s.card.goneAfterAccesses = gone;
  s.messages = in.Byte();
  s.quitAfterMs = in.Word();
  s.quitExitCode = in.Byte();
  s.card.replyDelayMs = in.Word();
  s.card.statusNoise = in.Byte() & static_cast<uint8_t>(~halvex::status::Mask);
  s.card.lengthHighNoise = in.Byte() & 0xF8;
  s.card.identification = in.Block();
  s.card.blockSizeReply = in.Block();
  s.card.selectReply = in.Block();
  s.card.readReply = in.Block();
  s.card.registerFlips = in.Rest();
  return s;
}

std::vector<uint8_t> EncodeCardScript(const CardScript& s) {
  const auto& bases = halvex::CandidateBases;
  const auto base = std::find(bases.begin(), bases.end(), s.card.base);
  if (base == bases.end()) throw std::invalid_argument("the card must sit at a candidate base");
  if (s.msPerTickRead < 1 || s.msPerTickRead > 64) throw std::invalid_argument("clock step out of range");

  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>((s.card.identificationAtPowerUp ? PowerUpFlag : 0) |
                                     (s.calls == 2 ? SecondCallFlag : 0) | (s.quit ? QuitFlag : 0) |
                                     (s.secondCard ? SecondCardFlag : 0) | (s.cardFitted ? 0 : NoCardFlag)));
  out.push_back(static_cast<uint8_t>(base - bases.begin()));
  out.push_back(static_cast<uint8_t>(s.card.fault));
  PutWord(out, 0u - s.clockStart);
  out.push_back(static_cast<uint8_t>(64 - s.msPerTickRead));
  PutWord(out, static_cast<uint32_t>(s.card.goneAfterAccesses.value_or(0)));
  out.push_back(s.messages);
  PutWord(out, s.quitAfterMs);
  out.push_back(s.quitExitCode);
  PutWord(out, s.card.replyDelayMs);
  out.push_back(s.card.statusNoise);
  out.push_back(s.card.lengthHighNoise);
  PutBlock(out, s.card.identification);
  PutBlock(out, s.card.blockSizeReply);
  PutBlock(out, s.card.selectReply);
  PutBlock(out, s.card.readReply);
  out.insert(out.end(), s.card.registerFlips.begin(), s.card.registerFlips.end());
  return out;
}

}  // namespace halvextest
