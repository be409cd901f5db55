#include "firmware/T1Blocks.h"

#include <cstring>

namespace halvex {

namespace {

constexpr uint8_t Nad = 0x12;
constexpr uint8_t Pcb = 0x00;

uint16_t Build(uint8_t* out, const uint8_t* info, uint8_t infoLength) {
  out[0] = Nad;
  out[1] = Pcb;
  out[2] = infoLength;
  std::memcpy(out + 3, info, infoLength);
  const size_t beforeLrc = 3u + infoLength;
  out[beforeLrc] = Lrc(out, beforeLrc);
  return static_cast<uint16_t>(beforeLrc + 1);
}

}  // namespace

uint8_t Lrc(const uint8_t* bytes, size_t count) {
  uint8_t lrc = 0;
  for (size_t i = 0; i < count; ++i) lrc ^= bytes[i];
  return lrc;
}

uint16_t BuildSelectBlock(uint8_t* out) {
  // SELECT FILE 00 20
  static const uint8_t info[] = {0x00, 0xA4, 0x00, 0x00, 0x02, 0x00, 0x20};
  return Build(out, info, sizeof info);
}

uint16_t BuildReadBlock(uint8_t* out) {
  // READ BINARY from offset 0, Le = 00
  static const uint8_t info[] = {0x00, 0xB0, 0x00, 0x00, 0x00};
  return Build(out, info, sizeof info);
}

}  // namespace halvex
