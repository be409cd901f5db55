#pragma once

#include <array>
#include <cstdint>

#include "firmware/ReaderLink.h"

namespace halvex {

constexpr std::array<uint16_t, 7> CandidateBases = {0x300, 0x320, 0x340, 0x360, 0x380, 0x3A0, 0x3C0};
constexpr uint16_t BlockSizeLimit = 270;
constexpr size_t ExchangeBufferSize = 2048;

namespace result {
constexpr int32_t Recent = 0;
constexpr int32_t Older = 1;
constexpr int32_t NoReader = 2;
constexpr int32_t ExchangeFailed = 3;
constexpr int32_t TooOld = 5;
}  // namespace result

// Looks for the interface at the candidate bases and opens the first that
// qualifies; on success `link.portBase` is that base.
bool FindReader(ReaderLink& link, uint16_t limit, uint16_t& blockSize);

// The whole check: search, select, read, classify. Gives one of `result`.
int32_t CheckFirmWare(ReaderLink& link);

}  // namespace halvex
