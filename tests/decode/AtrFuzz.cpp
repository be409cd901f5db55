// Any bytes as an ATR: decoded and rendered within the input, every field from a byte that is there.
#include <cstdint>
#include <span>

#include "decode/Atr.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const decode::Atr atr = decode::DecodeAtr(bytes);
  std::size_t fields = atr.interface.size() + atr.historical.bytes.size() + (atr.tck.present ? 1 : 0);
  if (!atr.synchronous && !atr.t0.name.empty()) fields += 2;  // TS and T0
  if (fields > size) __builtin_trap();
  for (const decode::CompactTlv& object : atr.historical.objects)
    if (object.value.size() > object.length) __builtin_trap();
  decode::AtrLines(atr);
  decode::HistoricalLines(decode::DecodeHistoricalBytes(bytes));
  return 0;
}
