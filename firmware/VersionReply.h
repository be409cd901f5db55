#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace halvex {

constexpr uint8_t VersionTag = 0x0F;
constexpr size_t VersionTextMax = 11;

// The version text with its dots taken out, as it fits the 12-byte buffer.
struct VersionText {
  char chars[VersionTextMax + 1] = {};
  size_t length = 0;
};

// Walks the elements of a read reply (tag, length, value) from byte 3 on and
// gives the text of the first version element; nothing when there is none.
// Never looks past `received` bytes, whatever the length bytes claim.
std::optional<VersionText> FindVersionText(const uint8_t* reply, size_t received);

// Decimal conversion with C's atoi rules, saturated instead of overflowing.
int32_t VersionNumber(const VersionText& text);

// 0 for 228 and above, 1 for 201 to 227, 5 for 200 and below.
int32_t ClassifyVersion(int32_t number);

}  // namespace halvex
