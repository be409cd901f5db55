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

class TlvReader {
 public:
  TlvReader(std::span<const std::uint8_t> bytes, TlvSource source, std::vector<std::string>& problems)
      : bytes_(bytes), source_(source), problems_(problems) {}

  // The objects in [begin, end). A broken tag or length, or an object longer than the range,
  // ends the range; a fault inside an object of sound length ends only that object's contents.
  void Read(std::size_t begin, std::size_t end, std::span<const std::uint8_t> parent, int depth,
            std::vector<TlvObject>& out) {
    for (std::size_t at = begin; at < end;) {
      if (bytes_[at] == kPaddingZero || bytes_[at] == kPaddingOnes) {
        ++at;
        continue;
      }
      TlvObject object;
      object.offset = at;
      if (!ReadTag(at, end, object) || !ReadLength(at, end, object)) return;
      object.headerLength = at - object.offset;
      object.available = std::min(object.length, end - at);
      object.name = TlvTagName(object.tag, parent, source_);
      const std::size_t valueEnd = at + object.available;
      const bool truncated = object.Truncated();
      if (truncated)
        Problem(object, "announces " + Count(object.length, "byte") + ", " +
                            std::to_string(object.available) + " follow");
      if (object.constructed && depth < kMaxTlvDepth) {
        Read(at, valueEnd, object.tag, depth + 1, object.children);
      } else {
        if (object.constructed)
          Problem(object,
                  "is nested deeper than " + std::to_string(kMaxTlvDepth) + " levels: not taken apart");
        object.value.assign(bytes_.begin() + at, bytes_.begin() + valueEnd);
      }
      out.push_back(std::move(object));
      if (truncated) return;
      at = valueEnd;
    }
  }

 private:
  bool ReadTag(std::size_t& at, std::size_t end, TlvObject& object) {
    const std::uint8_t first = bytes_[at];
    object.tagClass = static_cast<TagClass>(first >> 6);
    object.constructed = first & kConstructedBit;
    object.tag.push_back(bytes_[at++]);
    if ((first & kTagNumberMask) != kTagNumberMask) return true;
    for (;;) {
      if (at == end) return Fail(object, "cut short in its tag");
      object.tag.push_back(bytes_[at]);
      if (object.tag.size() > kMaxTagLength) return Fail(object, "has a tag of more than 4 bytes");
      if (!(bytes_[at++] & kMoreTagBytes)) return true;
    }
  }

  bool ReadLength(std::size_t& at, std::size_t end, TlvObject& object) {
    if (at == end) return Fail(object, "cut short before its length");
    const std::uint8_t first = bytes_[at++];
    if (first < kIndefiniteLength) {
      object.length = first;
      return true;
    }
    if (first == kIndefiniteLength)
      return Fail(object, "has an indefinite length, which BER-TLV here forbids");
    const std::size_t count = first & 0x7F;
    if (count > kMaxLengthBytes) return Fail(object, "has a length of more than 4 bytes");
    if (end - at < count) return Fail(object, "cut short in its length");
    for (std::size_t i = 0; i < count; ++i) object.length = object.length << 8 | bytes_[at++];
    return true;
  }

  void Problem(const TlvObject& object, const std::string& what) {
    problems_.push_back("Object " + HexBytes(object.tag, "") + " at offset " + std::to_string(object.offset) +
                        " " + what);
  }

  bool Fail(const TlvObject& object, const std::string& what) {
    Problem(object, what);
    return false;
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

void AddRows(const std::vector<TlvObject>& objects, const std::string& indent, std::vector<TextRow>& rows) {
  for (const TlvObject& object : objects) {
    std::string meaning = TlvDescription(object);
    if (!object.constructed && !object.value.empty()) {
      meaning += ": " + HexBytes(object.value);
      if (Printable(object.value)) {
        meaning += " \"";
        meaning.append(object.value.begin(), object.value.end());
        meaning += '"';
      }
    }
    if (object.Truncated()) meaning += " [cut short: " + Count(object.available, "byte") + " there]";
    rows.push_back({indent + HexBytes(object.tag, ""), std::to_string(object.length), std::move(meaning)});
    AddRows(object.children, indent + "  ", rows);
  }
}

}  // namespace

TlvTree DecodeTlv(std::span<const std::uint8_t> bytes, TlvSource source) {
  TlvTree tree;
  TlvReader(bytes, source, tree.problems).Read(0, bytes.size(), {}, 1, tree.objects);
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
  AddRows(tree.objects, "", rows);
  std::vector<std::string> lines = AlignedLines(rows);
  for (const std::string& problem : tree.problems) lines.push_back("Problem: " + problem);
  return lines;
}

}  // namespace decode
