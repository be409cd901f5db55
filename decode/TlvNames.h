#pragma once
// Names of BER-TLV tags: interindustry (ISO/IEC 7816-4 and 7816-6) and the card terminal's.

#include <cstdint>
#include <span>
#include <string_view>

#include "decode/Tlv.h"

namespace decode {

// parent: the tag of the enclosing object, empty at the top level.
std::string_view TlvTagName(std::span<const std::uint8_t> tag, std::span<const std::uint8_t> parent,
                            TlvSource source);

}  // namespace decode
