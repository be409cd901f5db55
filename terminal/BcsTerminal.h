#pragma once
// A CT-BCS card terminal with one card slot: the terminal's own commands (reset, request, status,
// eject) and the pass-through of card commands. Knows nothing of where the card really is.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "terminal/CardSlot.h"

namespace terminal {

constexpr std::uint8_t kUnitCard = 0;
constexpr std::uint8_t kUnitTerminal = 1;

struct TerminalAnswer {
  std::uint8_t source = kUnitTerminal;
  Bytes bytes;
};

// The card status byte of GET STATUS.
enum class IccStatus : std::uint8_t { NoCard = 0x00, NotConnected = 0x03, Connected = 0x05 };

class BcsTerminal {
 public:
  static constexpr std::size_t kManufacturerLength = 15;

  explicit BcsTerminal(CardSlot& slot) : slot_(slot) {}

  // Country code (2), manufacturer (3), type (5), software version (5); padded or cut to 15.
  void SetManufacturer(const std::string& text);
  // GET STATUS 80 and 46 answer as data objects (80 01 xx, 46 0F ...) instead of raw bytes; 81 always
  // does.
  void SetStatusObjects(bool on) { statusObjects_ = on; }
  // The state after power-up: the card, if any, is not activated.
  void Reset();
  IccStatus Status();
  // destination: kUnitCard or kUnitTerminal; command at least four bytes.
  TerminalAnswer Process(std::uint8_t destination, std::span<const std::uint8_t> command);

 private:
  Bytes Command(std::span<const std::uint8_t> command);
  Bytes ResetIcc(std::uint8_t p2);
  Bytes PowerOnAnswer(std::uint8_t p2);
  Bytes RequestIcc(std::uint8_t p2, std::chrono::milliseconds wait);
  Bytes EjectIcc(std::chrono::milliseconds wait);
  Bytes GetStatus(std::uint8_t p2);
  bool Activated();

  CardSlot& slot_;
  bool activated_ = false;
  bool statusObjects_ = false;
  std::array<char, kManufacturerLength> manufacturer_{};
};

}  // namespace terminal
