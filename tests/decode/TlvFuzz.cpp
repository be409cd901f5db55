// Any bytes as BER-TLV: the objects found never claim more bytes than their range holds, at any depth.
#include <cstdint>
#include <span>

#include "decode/Tlv.h"

namespace {

// The bytes the objects take, which must fit in the range they were read from.
std::size_t Taken(const std::vector<decode::TlvObject>& objects, std::size_t begin, std::size_t end,
                  int depth) {
  if (!objects.empty() && depth > decode::kMaxTlvDepth) __builtin_trap();
  std::size_t taken = 0;
  for (const decode::TlvObject& o : objects) {
    const std::size_t valueBegin = o.offset + o.headerLength;
    if (o.offset < begin || valueBegin + o.available > end || o.available > o.length) __builtin_trap();
    if (o.tagLength == 0 || o.tagLength > decode::kMaxTagLength) __builtin_trap();
    if (!o.children.empty() && o.Primitive()) __builtin_trap();
    if (Taken(o.children, valueBegin, valueBegin + o.available, depth + 1) > o.available) __builtin_trap();
    taken += o.headerLength + o.available;
  }
  if (taken > end - begin) __builtin_trap();
  return taken;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (const decode::TlvSource source : {decode::TlvSource::Card, decode::TlvSource::Terminal}) {
    const decode::TlvTree tree = decode::DecodeTlv(bytes, source);
    Taken(tree.objects, 0, size, 1);
    decode::TlvLines(tree);
  }
  return 0;
}
