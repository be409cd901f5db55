#pragma once
// What each interface byte of an ATR means, by its place and the protocol it is announced for.

#include <cstdint>
#include <string>

namespace decode {

struct RateFactors {
  int fi = 0;  // 0: reserved for future use
  double fmaxMhz = 0;
  int di = 0;  // 0: reserved for future use
};

RateFactors RateFactorsOf(std::uint8_t ta1);

enum class InterfaceByte { TA, TB, TC, TD };

// index: the i of TAi; protocol: the T of TD(i-1), for i >= 2.
std::string InterfaceByteMeaning(InterfaceByte which, int index, int protocol, std::uint8_t value);

std::string FormatDecimal(double value);  // "5", "7.5"

}  // namespace decode
