#include "sim/card/MemoryCard.h"

#include "sim/card/BinaryFile.h"

namespace sim {

namespace {
// A two-wire synchronous card's four-byte answer to reset; no historical bytes.
const Bytes kAtr{0xA2, 0x13, 0x10, 0x91};
}  // namespace

terminal::AnswerToReset MemoryCard::PowerOn() { return {kAtr, {}, true}; }

Bytes MemoryCard::Process(const Bytes& bytes) {
  const terminal::ParsedApdu parsed = terminal::ParseCommandApdu(bytes);
  if (!parsed.apdu) return sw::kWrongLength;
  const terminal::CommandApdu& apdu = *parsed.apdu;
  if (apdu.cla != 0x00) return sw::kUnknownClass;
  if (apdu.ins == 0xB0) return ReadBinary(memory_, apdu);
  if (apdu.ins == 0xD6) return UpdateBinary(memory_, apdu);
  return sw::kUnknownInstruction;
}

}  // namespace sim
