#pragma once
// BER-TLV data objects (ISO/IEC 7816-4) as a tree, with the interindustry tag names and the card
// terminal's status objects.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace decode {

enum class TagClass : std::uint8_t { Universal, Application, ContextSpecific, Private };

// Who answered: the names of context-specific tags at the top level differ.
enum class TlvSource { Card, Terminal };

constexpr int kMaxTlvDepth = 32;
constexpr std::size_t kMaxTagLength = 4;

// Small, since a long answer has thousands.
struct TlvObject {
  std::array<std::uint8_t, kMaxTagLength> tagBytes{};  // 5F 2D ...
  std::uint8_t tagLength = 0;
  TagClass tagClass = TagClass::Universal;
  bool constructed = false;
  bool tooDeep = false;             // constructed, but nested too deep to be taken apart
  std::uint8_t headerLength = 0;    // tag and length bytes
  std::uint32_t length = 0;         // as announced: at most 4 length bytes
  std::uint32_t available = 0;      // the value bytes there are: less than length when cut short
  std::size_t offset = 0;           // of the tag in the bytes decoded
  std::string_view name;            // empty for a tag without a name here
  std::vector<TlvObject> children;  // a constructed object's objects, as far as they go

  std::span<const std::uint8_t> Tag() const { return {tagBytes.data(), tagLength}; }
  // Its value shows as bytes (TlvTree::Value) rather than as children.
  bool Primitive() const { return !constructed || tooDeep; }
  bool Truncated() const { return available < length; }
};

struct TlvTree {
  std::vector<std::uint8_t> bytes;  // those decoded, which the objects' values are part of
  std::vector<TlvObject> objects;
  std::vector<std::string> problems;  // empty: the bytes are BER-TLV through to their end

  // The value bytes there are.
  std::span<const std::uint8_t> Value(const TlvObject& object) const {
    return std::span(bytes).subspan(object.offset + object.headerLength, object.available);
  }
};

// 00 and FF between objects are padding. A cut or over-long object is kept as far as the bytes
// go and named in problems; nothing past the end is read.
TlvTree DecodeTlv(std::span<const std::uint8_t> bytes, TlvSource source = TlvSource::Card);

// The tag with its class and form when it has no name: "context-specific, primitive".
std::string TlvDescription(const TlvObject& object);

// A tree, one object a line, children indented: tag, length, name and value.
std::vector<std::string> TlvLines(const TlvTree& tree);

}  // namespace decode
