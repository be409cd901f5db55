#pragma once
// BER-TLV data objects (ISO/IEC 7816-4) as a tree, with the interindustry tag names and the card
// terminal's status objects.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace decode {

enum class TagClass { Universal, Application, ContextSpecific, Private };

// Who answered: the names of context-specific tags at the top level differ.
enum class TlvSource { Card, Terminal };

constexpr int kMaxTlvDepth = 32;
constexpr std::size_t kMaxTagLength = 4;

struct TlvObject {
  std::vector<std::uint8_t> tag;  // the tag bytes: 5F 2D
  TagClass tagClass = TagClass::Universal;
  bool constructed = false;
  std::size_t offset = 0;           // of the tag in the bytes decoded
  std::size_t headerLength = 0;     // tag and length bytes
  std::size_t length = 0;           // as announced
  std::size_t available = 0;        // the value bytes there are: less than length when cut short
  std::string_view name;            // empty for a tag without a name here
  std::vector<std::uint8_t> value;  // a primitive object's value bytes, as far as they go
  std::vector<TlvObject> children;  // a constructed object's objects, as far as they go

  bool Truncated() const { return available < length; }
};

struct TlvTree {
  std::vector<TlvObject> objects;
  std::vector<std::string> problems;  // empty: the bytes are BER-TLV through to their end
};

// 00 and FF between objects are padding. A cut or over-long object is kept as far as the bytes
// go and named in problems; nothing past the end is read.
TlvTree DecodeTlv(std::span<const std::uint8_t> bytes, TlvSource source = TlvSource::Card);

// The tag with its class and form when it has no name: "context-specific, primitive".
std::string TlvDescription(const TlvObject& object);

// A tree, one object a line, children indented: tag, length, name and value.
std::vector<std::string> TlvLines(const TlvTree& tree);

}  // namespace decode
