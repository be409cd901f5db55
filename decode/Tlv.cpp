#include "decode/Tlv.h"

#include <algorithm>

#include "decode/Hex.h"
#include "decode/TextRows.h"
#include "decode/TlvNames.h"

namespace decode {
namespace {

constexpr std::uint8_t kPaddingZero = 0x00;
constexpr std::uint8_t kPaddingOnes = 0xFF;
constexpr std::uint8_t kConstructedBit = 0x20;
constexpr std::uint8_t kTagNumberMask = 0x1F;
constexpr std::uint8_t kMoreTagBytes = 0x80;
constexpr std::uint8_t kIndefiniteLength = 0x80;
constexpr std::size_t kMaxLengthBytes = 4;

struct Header {
  std::array<std::uint8_t, kMaxTagLength> tag{};
  std::uint8_t tagLength = 0;
  std::uint32_t length = 0;
  std::size_t valueBegin = 0;
  std::string_view fault;  // empty when the tag and length are sound
};

// The tag and length at at, within [at, end).
Header ReadHeader(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t end) {
  Header h;
  const std::uint8_t first = bytes[at];
  h.tag[h.tagLength++] = bytes[at++];
  if ((first & kTagNumberMask) == kTagNumberMask) {
    for (;;) {
      if (at == end) return h.fault = "cut short in its tag", h;
      if (h.tagLength == kMaxTagLength) return h.fault = "has a tag of more than 4 bytes", h;
      h.tag[h.tagLength++] = bytes[at];
      if (!(bytes[at++] & kMoreTagBytes)) break;
    }
  }
  if (at == end) return h.fault = "cut short before its length", h;
  const std::uint8_t lengthByte = bytes[at++];
  if (lengthByte == kIndefiniteLength)
    return h.fault = "has an indefinite length, which BER-TLV here forbids", h;
  if (lengthByte < kIndefiniteLength) {
    h.length = lengthByte;
  } else {
    const std::size_t count = lengthByte & 0x7F;
    if (count > kMaxLengthBytes) return h.fault = "has a length of more than 4 bytes", h;
    if (end - at < count) return h.fault = "cut short in its length", h;
    for (std::size_t i = 0; i < count; ++i) h.length = h.length << 8 | bytes[at++];  // 4 bytes at most
  }
  h.valueBegin = at;
  return h;
}

bool Padding(std::uint8_t b) { return b == kPaddingZero || b == kPaddingOnes; }

class TlvReader {
 public:
  TlvReader(std::span<const std::uint8_t> bytes, TlvSource source, std::vector<std::string>& problems)
      : bytes_(bytes), source_(source), problems_(problems) {}

  // The objects in [begin, end). A broken tag or length, or an object longer than the range,
  // ends the range; a fault inside an object of sound length ends only that object's contents.
  void Read(std::size_t begin, std::size_t end, std::span<const std::uint8_t> parent, int depth,
            std::vector<TlvObject>& out) {
    out.reserve(CountObjects(begin, end));
    for (std::size_t at = begin; at < end;) {
      if (Padding(bytes_[at])) {
        ++at;
        continue;
      }
      const Header h = ReadHeader(bytes_, at, end);
      TlvObject object;
      object.offset = at;
      object.tagBytes = h.tag;
      object.tagLength = h.tagLength;
      object.tagClass = static_cast<TagClass>(h.tag[0] >> 6);
      object.constructed = h.tag[0] & kConstructedBit;
      if (!h.fault.empty()) return Problem(object, std::string(h.fault));
      object.headerLength = static_cast<std::uint8_t>(h.valueBegin - at);
      object.length = h.length;
      object.available = static_cast<std::uint32_t>(std::min<std::size_t>(h.length, end - h.valueBegin));
      object.name = TlvTagName(object.Tag(), parent, source_);
      const std::size_t valueEnd = h.valueBegin + object.available;
      const bool truncated = object.Truncated();
      if (truncated)
        Problem(object, "announces " + Count(object.length, "byte") + ", " +
                            std::to_string(object.available) + " follow");
      if (object.constructed && depth < kMaxTlvDepth) {
        Read(h.valueBegin, valueEnd, object.Tag(), depth + 1, object.children);
      } else if (object.constructed) {
        object.tooDeep = true;
        Problem(object, "is nested deeper than " + std::to_string(kMaxTlvDepth) + " levels: not taken apart");
      }
      out.push_back(std::move(object));
      if (truncated) return;
      at = valueEnd;
    }
  }

 private:
  // How many objects Read will keep from [begin, end), so their vector is allocated once.
  std::size_t CountObjects(std::size_t at, std::size_t end) const {
    std::size_t count = 0;
    while (at < end) {
      if (Padding(bytes_[at])) {
        ++at;
        continue;
      }
      const Header h = ReadHeader(bytes_, at, end);
      if (!h.fault.empty()) break;
      ++count;
      if (h.length > end - h.valueBegin) break;
      at = h.valueBegin + h.length;
    }
    return count;
  }

  void Problem(const TlvObject& object, const std::string& what) {
    problems_.push_back("Object " + HexBytes(object.Tag(), "") + " at offset " +
                        std::to_string(object.offset) + " " + what);
  }

  std::span<const std::uint8_t> bytes_;
  TlvSource source_;
  std::vector<std::string>& problems_;
};

constexpr std::string_view kClassNames[4] = {"universal", "application", "context-specific", "private"};

bool Printable(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return false;
  for (const std::uint8_t b : bytes)
    if (b < 0x20 || b > 0x7E) return false;
  return true;
}

void AddRows(const TlvTree& tree, const std::vector<TlvObject>& objects, const std::string& indent,
             std::vector<TextRow>& rows) {
  for (const TlvObject& object : objects) {
    std::string meaning = TlvDescription(object);
    const auto value = tree.Value(object);
    if (object.Primitive() && !value.empty()) {
      meaning += ": " + HexBytes(value);
      if (Printable(value)) {
        meaning += " \"";
        meaning.append(value.begin(), value.end());
        meaning += '"';
      }
    }
    if (object.Truncated()) meaning += " [cut short: " + Count(object.available, "byte") + " there]";
    rows.push_back({indent + HexBytes(object.Tag(), ""), std::to_string(object.length), std::move(meaning)});
    AddRows(tree, object.children, indent + "  ", rows);
  }
}

}  // namespace

TlvTree DecodeTlv(std::span<const std::uint8_t> bytes, TlvSource source) {
  TlvTree tree;
  tree.bytes.assign(bytes.begin(), bytes.end());
  TlvReader(tree.bytes, source, tree.problems).Read(0, bytes.size(), {}, 1, tree.objects);
  return tree;
}

std::string TlvDescription(const TlvObject& object) {
  if (!object.name.empty()) return std::string(object.name);
  std::string text(kClassNames[static_cast<int>(object.tagClass)]);
  text.front() = static_cast<char>(text.front() - 'a' + 'A');
  return text + (object.constructed ? ", constructed" : ", primitive");
}

std::vector<std::string> TlvLines(const TlvTree& tree) {
  std::vector<TextRow> rows;
  AddRows(tree, tree.objects, "", rows);
  std::vector<std::string> lines = AlignedLines(rows);
  for (const std::string& problem : tree.problems) lines.push_back("Problem: " + problem);
  return lines;
}

}  // namespace decode
