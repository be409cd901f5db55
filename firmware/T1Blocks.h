#pragma once

#include <cstddef>
#include <cstdint>

namespace halvex {

// Command blocks in T=1 block form: NAD, PCB, LEN, information field, LRC.
constexpr size_t SelectBlockLength = 11;
constexpr size_t ReadBlockLength = 9;

uint8_t Lrc(const uint8_t* bytes, size_t count);

// Each writes the block at `out` (room for its length) and gives its length.
uint16_t BuildSelectBlock(uint8_t* out);
uint16_t BuildReadBlock(uint8_t* out);

}  // namespace halvex
