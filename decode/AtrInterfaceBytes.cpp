#include "decode/AtrInterfaceBytes.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace decode {
namespace {

constexpr std::string_view kClockStop[4] = {"Clock stop not supported", "Clock stop in state L",
                                            "Clock stop in state H", "Clock stop in either state"};
constexpr std::string_view kVoltageClasses[3] = {"A (5 V)", "B (3 V)", "C (1.8 V)"};
constexpr int kProgrammingCurrentMa[4] = {25, 50, 100, 0};

constexpr double kReferenceMhz = 4;

// Meanings are built for every byte of every ATR: appended in place, without temporaries.
constexpr std::size_t kMeaningReserve = 96;

void AppendNumber(std::string& text, long number) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  text.append(digits, result.ptr);
}

// Clock rates and voltages have at most one decimal ("7.5"). Neither printf nor std::to_chars:
// their floating-point machinery would more than double the size of every binary that explains
// an ATR.
void AppendNumber(std::string& text, double number) {
  const long tenths = std::lround(number * 10);
  AppendNumber(text, tenths / 10);
  if (tenths % 10) (text += '.') += static_cast<char>('0' + tenths % 10);
}

void AppendBitRate(std::string& text, int fi, int di, double mhz) {
  AppendNumber(text, std::lround(mhz * 1e6 * di / fi));
  text += " bit/s at ";
  AppendNumber(text, mhz);
  text += " MHz";
}

std::string Ta1(std::uint8_t value) {
  const RateFactors f = RateFactorsOf(value);
  std::string text;
  text.reserve(kMeaningReserve);
  if (f.fi) {
    text += "Fi ";
    AppendNumber(text, long{f.fi});
    text += ", f max ";
    AppendNumber(text, f.fmaxMhz);
    text += " MHz";
  } else {
    text += "Fi reserved for future use";
  }
  if (f.di) {
    text += ", Di ";
    AppendNumber(text, long{f.di});
  } else {
    text += ", Di reserved for future use";
  }
  if (f.fi && f.di) {
    text += ": ";
    AppendBitRate(text, f.fi, f.di, kReferenceMhz);
    if (f.fmaxMhz != kReferenceMhz) {
      text += ", ";
      AppendBitRate(text, f.fi, f.di, f.fmaxMhz);
    }
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
  std::string text;
  text.reserve(kMeaningReserve);
  text += "T=";
  AppendNumber(text, long{protocol});
  if (protocol == 15) text += " (global interface bytes)";
  text += "; ";
  int count = 0;
  for (int bit = 0; bit < 4; ++bit) {
    if (!(value & (0x10 << bit))) continue;
    if (count++) text += ' ';
    text += InterfaceByteName(static_cast<InterfaceByte>(bit), index + 1);
  }
  text += !count ? "no further interface bytes" : count == 1 ? " follows" : " follow";
  return text;
}

std::string Ta2(std::uint8_t value) {
  std::string text;
  text.reserve(kMeaningReserve);
  text += "Specific mode, T=";
  AppendNumber(text, long{value & 0x0F});
  text += value & 0x80 ? "; cannot change to negotiable mode" : "; can change to negotiable mode";
  text += value & 0x10 ? "; implicit transmission parameters" : "; Fi and Di of TA1";
  return text;
}

std::string Tc2(int protocol, int fi, std::uint8_t value) {
  if (protocol != 0) return "Not defined for T=" + std::to_string(protocol);
  if (value == 0) return "WI 0: reserved for future use";
  // WT = WI x 960 x Fi / f
  const long ms = std::lround(value * 960.0 * fi / (kReferenceMhz * 1e3));
  return "T=0 work waiting time: WI " + std::to_string(value) + ", 960 x " + std::to_string(value) +
         " x Fi / f (" + std::to_string(ms) + " ms with Fi " + std::to_string(fi) + " at 4 MHz)";
}

std::string T1Byte(InterfaceByte which, std::uint8_t value) {
  switch (which) {
    case InterfaceByte::TA:
      if (value == 0 || value == 255) return "IFSC " + std::to_string(value) + ": reserved for future use";
      return "IFSC " + std::to_string(value) + " bytes";
    case InterfaceByte::TB: {
      const int bwi = value >> 4, cwi = value & 0x0F;
      std::string text;
      text.reserve(kMeaningReserve);
      text += "BWI ";
      AppendNumber(text, long{bwi});
      text += ", CWI ";
      AppendNumber(text, long{cwi});
      text += ": CWT ";
      AppendNumber(text, long{11 + (1 << cwi)});
      if (bwi > 9) {
        text += " etu, BWI reserved for future use";
        return text;
      }
      // BWT counts in etu of the default Fd 372.
      text += " etu, BWT 11 etu + ";
      AppendNumber(text, std::lround((1 << bwi) * 960.0 * 372 / (kReferenceMhz * 1e3)));
      text += " ms at 4 MHz";
      return text;
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
      std::string text;
      text.reserve(kMeaningReserve);
      text += kClockStop[value >> 6];
      text += "; class ";
      if (!(value & 0x07)) text += "none given";
      for (int bit = 0, n = 0; bit < 3; ++bit) {
        if (!(value & (1 << bit))) continue;
        if (n++) text += ", ";
        text += kVoltageClasses[bit];
      }
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
  std::string text;
  AppendNumber(text, value);
  return text;
}

std::string InterfaceByteMeaning(InterfaceByte which, int index, int protocol, int fi, std::uint8_t value) {
  if (which == InterfaceByte::TD) return Td(index, value);
  if (index == 1) {
    if (which == InterfaceByte::TA) return Ta1(value);
    return which == InterfaceByte::TB ? Tb1(value) : Tc1(value);
  }
  if (index == 2 && which == InterfaceByte::TA) return Ta2(value);
  if (index == 2 && which == InterfaceByte::TB)
    return "Vpp " + FormatDecimal(value / 10.0) + " V (deprecated)";
  if (index == 2 && which == InterfaceByte::TC) return Tc2(protocol, fi ? fi : 372, value);
  if (protocol == 1) return T1Byte(which, value);
  if (protocol == 15) return T15Byte(which, value);
  return "For T=" + std::to_string(protocol) + ": not interpreted";
}

}  // namespace decode
