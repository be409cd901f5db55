#include "decode/AtrInterfaceBytes.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace decode {
namespace {

constexpr int kFi[16] = {372, 372, 558, 744, 1116, 1488, 1860, 0, 0, 512, 768, 1024, 1536, 2048, 0, 0};
constexpr double kFmaxMhz[16] = {4, 5, 6, 8, 12, 16, 20, 0, 0, 5, 7.5, 10, 15, 20, 0, 0};
constexpr int kDi[16] = {0, 1, 2, 4, 8, 16, 32, 64, 12, 20, 0, 0, 0, 0, 0, 0};

constexpr std::string_view kClockStop[4] = {"Clock stop not supported", "Clock stop in state L",
                                            "Clock stop in state H", "Clock stop in either state"};
constexpr std::string_view kVoltageClasses[3] = {"A (5 V)", "B (3 V)", "C (1.8 V)"};
constexpr int kProgrammingCurrentMa[4] = {25, 50, 100, 0};

constexpr double kReferenceMhz = 4;

std::string BitRate(int fi, int di, double mhz) {
  return std::to_string(std::lround(mhz * 1e6 * di / fi)) + " bit/s at " + FormatDecimal(mhz) + " MHz";
}

std::string Ta1(std::uint8_t value) {
  const RateFactors f = RateFactorsOf(value);
  std::string text = f.fi ? "Fi " + std::to_string(f.fi) + ", f max " + FormatDecimal(f.fmaxMhz) + " MHz"
                          : std::string("Fi reserved for future use");
  text += f.di ? ", Di " + std::to_string(f.di) : std::string(", Di reserved for future use");
  if (f.fi && f.di) {
    text += ": " + BitRate(f.fi, f.di, kReferenceMhz);
    if (f.fmaxMhz != kReferenceMhz) text += ", " + BitRate(f.fi, f.di, f.fmaxMhz);
  }
  return text;
}

std::string Tb1(std::uint8_t value) {
  if (value == 0) return "No programming voltage (Vpp not connected)";
  const int current = kProgrammingCurrentMa[value >> 5 & 0x03];
  return "Vpp " + std::to_string(value & 0x1F) + " V, " +
         (current ? "Ipp " + std::to_string(current) + " mA" : std::string("Ipp reserved")) + " (deprecated)";
}

std::string Tc1(std::uint8_t value) {
  if (value == 0) return "No extra guard time";
  if (value == 255) return "Minimum guard time: 12 etu for T=0, 11 etu for T=1";
  return "Extra guard time " + std::to_string(value) + " etu";
}

std::string Td(int index, std::uint8_t value) {
  const int protocol = value & 0x0F;
  std::string text = "T=" + std::to_string(protocol);
  if (protocol == 15) text += " (global interface bytes)";
  const int next = index + 1;
  std::string follow;
  int count = 0;
  static constexpr std::string_view kNames[4] = {"TA", "TB", "TC", "TD"};
  for (int bit = 0; bit < 4; ++bit) {
    if (!(value & (0x10 << bit))) continue;
    if (count++) follow += ' ';
    (follow += kNames[bit]) += std::to_string(next);
  }
  if (!count) return text + "; no further interface bytes";
  return text + "; " + follow + (count == 1 ? " follows" : " follow");
}

std::string Ta2(std::uint8_t value) {
  std::string text = "Specific mode, T=" + std::to_string(value & 0x0F);
  text += value & 0x80 ? "; cannot change to negotiable mode" : "; can change to negotiable mode";
  text += value & 0x10 ? "; implicit transmission parameters" : "; Fi and Di of TA1";
  return text;
}

std::string Tc2(int protocol, std::uint8_t value) {
  if (protocol != 0) return "Not defined for T=" + std::to_string(protocol);
  if (value == 0) return "WI 0: reserved for future use";
  // WT = WI x 960 x Fi / f, with the Fi of TA1 unknown here: the default 372.
  const long ms = std::lround(value * 960.0 * 372 / (kReferenceMhz * 1e3));
  return "T=0 work waiting time: WI " + std::to_string(value) + ", 960 x " + std::to_string(value) +
         " x Fi / f (" + std::to_string(ms) + " ms with Fi 372 at 4 MHz)";
}

std::string T1Byte(InterfaceByte which, std::uint8_t value) {
  switch (which) {
    case InterfaceByte::TA:
      if (value == 0 || value == 255) return "IFSC " + std::to_string(value) + ": reserved for future use";
      return "IFSC " + std::to_string(value) + " bytes";
    case InterfaceByte::TB: {
      const int bwi = value >> 4, cwi = value & 0x0F;
      std::string text = "BWI " + std::to_string(bwi) + ", CWI " + std::to_string(cwi) + ": CWT " +
                         std::to_string(11 + (1 << cwi)) + " etu";
      if (bwi > 9) return text + ", BWI reserved for future use";
      const long ms = std::lround((1 << bwi) * 960.0 * 372 / (kReferenceMhz * 1e3));
      return text + ", BWT 11 etu + " + std::to_string(ms) + " ms at 4 MHz";
    }
    case InterfaceByte::TC:
      return value & 0x01 ? "Error detection: CRC" : "Error detection: LRC";
    case InterfaceByte::TD:
      break;
  }
  return {};
}

std::string T15Byte(InterfaceByte which, std::uint8_t value) {
  switch (which) {
    case InterfaceByte::TA: {
      std::string text(kClockStop[value >> 6]);
      std::string classes;
      for (int bit = 0; bit < 3; ++bit) {
        if (!(value & (1 << bit))) continue;
        if (!classes.empty()) classes += ", ";
        classes += kVoltageClasses[bit];
      }
      text += "; class " + (classes.empty() ? std::string("none given") : classes);
      if (value & 0x38) text += "; other class bits reserved";
      return text;
    }
    case InterfaceByte::TB:
      if (value == 0) return "SPU: contact C6 not used";
      return value & 0x80 ? "SPU: proprietary use of contact C6" : "SPU: standard use of contact C6";
    case InterfaceByte::TC:
      return "Reserved for future use";
    case InterfaceByte::TD:
      break;
  }
  return {};
}

}  // namespace

std::string FormatDecimal(double value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return std::string(digits, result.ptr);
}

RateFactors RateFactorsOf(std::uint8_t ta1) { return {kFi[ta1 >> 4], kFmaxMhz[ta1 >> 4], kDi[ta1 & 0x0F]}; }

std::string InterfaceByteMeaning(InterfaceByte which, int index, int protocol, std::uint8_t value) {
  if (which == InterfaceByte::TD) return Td(index, value);
  if (index == 1) {
    if (which == InterfaceByte::TA) return Ta1(value);
    return which == InterfaceByte::TB ? Tb1(value) : Tc1(value);
  }
  if (index == 2 && which == InterfaceByte::TA) return Ta2(value);
  if (index == 2 && which == InterfaceByte::TB)
    return "Vpp " + FormatDecimal(value / 10.0) + " V (deprecated)";
  if (index == 2 && which == InterfaceByte::TC) return Tc2(protocol, value);
  if (protocol == 1) return T1Byte(which, value);
  if (protocol == 15) return T15Byte(which, value);
  return "For T=" + std::to_string(protocol) + ": not interpreted";
}

}  // namespace decode
