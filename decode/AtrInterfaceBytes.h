#pragma once
// What each interface byte of an ATR means, by its place and the protocol it is announced for.

#include <cstdint>
#include <string>

#include "decode/AtrFrame.h"

namespace decode {

// index: the i of TAi; protocol: the T of TD(i-1), for i >= 2; fi: the card's Fi, 0 when unknown.
std::string InterfaceByteMeaning(InterfaceByte which, int index, int protocol, int fi, std::uint8_t value);

std::string FormatDecimal(double value);  // "5", "7.5"

}  // namespace decode
