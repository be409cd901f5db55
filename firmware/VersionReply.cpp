#include "firmware/VersionReply.h"

#include <limits>

namespace halvex {

std::optional<VersionText> FindVersionText(const uint8_t* reply, size_t received) {
  if (received < 3) return std::nullopt;
  const size_t infoLength = reply[2];

  // The walk is bounded by the LEN byte as the firmware lays it out, and
  // by what actually arrived; positions only grow, so it always ends.
  size_t p = 3;
  while (p < infoLength && p < received) {
    const size_t elementLength = p + 1 < received ? reply[p + 1] : 0;
    if (reply[p] == VersionTag) {
      VersionText text;
      // The element's end is kept to one byte's range, as the firmware counts.
      const size_t end = (p + 2 + elementLength) % 256;
      for (size_t i = p + 2; i < end && i < received; ++i) {
        if (reply[i] == '.') continue;
        if (text.length == VersionTextMax) break;
        text.chars[text.length++] = static_cast<char>(reply[i]);
      }
      return text;
    }
    if (p + 1 >= received) break;
    p += 2 + elementLength;
  }
  return std::nullopt;
}

int32_t VersionNumber(const VersionText& text) {
  const char* c = text.chars;
  const char* end = text.chars + text.length;
  while (c < end && (*c == ' ' || (*c >= '\t' && *c <= '\r'))) ++c;

  bool negative = false;
  if (c < end && (*c == '+' || *c == '-')) negative = *c++ == '-';

  constexpr int64_t limit = std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (; c < end && *c >= '0' && *c <= '9'; ++c) {
    value = value * 10 + (*c - '0');
    if (value > limit) value = limit + 1;  // keeps INT32_MIN reachable
  }
  if (negative) return static_cast<int32_t>(-value);
  return static_cast<int32_t>(value > limit ? limit : value);
}

int32_t ClassifyVersion(int32_t number) {
  if (number <= 200) return 5;
  return number < 228 ? 1 : 0;
}

}  // namespace halvex
