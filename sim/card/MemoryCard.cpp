#include "sim/card/MemoryCard.h"

#include <algorithm>

#include "sim/card/BinaryFile.h"
#include "terminal/CommandApdu.h"

namespace sim {

namespace {
constexpr std::uint8_t kInsSelect = 0xA4;
constexpr std::uint8_t kInsReadBinary = 0xB0;
constexpr std::uint8_t kInsUpdateBinary = 0xD6;
constexpr std::uint8_t kSelectById = 0x00, kSelectByName = 0x04;
}  // namespace

MemorySpec BuiltInMemorySpec() {
  // A two-wire synchronous card's four-byte answer to reset; no historical bytes.
  return {{0xA2, 0x13, 0x10, 0x91}, Bytes(256, 0xFF), {}};
}

terminal::AnswerToReset MemoryCard::PowerOn() {
  area_.reset();
  return {spec_.atr, {}, true};
}

std::span<std::uint8_t> MemoryCard::Selected() {
  if (!area_) return spec_.contents;
  const AreaSpec& a = spec_.areas[*area_];
  return std::span(spec_.contents).subspan(a.offset, a.length);
}

Bytes MemoryCard::Process(const Bytes& bytes) {
  const terminal::ParsedApdu parsed = terminal::ParseCommandApdu(bytes);
  if (!parsed.apdu) return sw::kWrongLength;
  const terminal::CommandApdu& apdu = *parsed.apdu;
  if (apdu.cla != 0x00) return sw::kUnknownClass;
  if (apdu.ins == kInsSelect) return Select(apdu);
  if (apdu.ins != kInsReadBinary && apdu.ins != kInsUpdateBinary) return sw::kUnknownInstruction;
  // A memory card has no short EF identifiers.
  const std::optional<std::size_t> offset = PlainOffset(apdu);
  if (!offset) return sw::kWrongP1P2;
  if (apdu.ins == kInsReadBinary) return ReadBinary(Selected(), *offset, apdu);
  return UpdateBinary(Selected(), *offset, apdu);
}

Bytes MemoryCard::Select(const terminal::CommandApdu& apdu) {
  const Bytes& d = apdu.data;
  if (apdu.p1 == kSelectById) {
    if (!d.empty() && d.size() != 2) return sw::kWrongLength;
    if (!d.empty() && (d[0] != 0x3F || d[1] != 0x00)) return sw::kFileNotFound;
    area_.reset();
    return sw::kOk;
  }
  if (apdu.p1 != kSelectByName) return sw::kWrongP1P2;
  if (d.empty()) return sw::kWrongLength;
  const auto area =
      std::find_if(spec_.areas.begin(), spec_.areas.end(), [&](const AreaSpec& a) { return a.aid == d; });
  if (area == spec_.areas.end()) return sw::kFileNotFound;
  area_ = static_cast<std::size_t>(area - spec_.areas.begin());
  return sw::kOk;
}

}  // namespace sim
