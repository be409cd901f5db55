#pragma once
// The frame of an answer to reset (ISO/IEC 7816-3) without the meanings of its bytes: where each
// interface byte stands, the protocols, the rate factors, the historical bytes, TCK and what is
// wrong with the frame. A terminal taking a card needs this much; the decoder adds the meanings.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace decode {

// TS: 3B, 3F, 03 (an inverse ATR read as if direct, taken apart converted) or another byte, taken
// as direct.
enum class TsForm { Direct, Inverse, InverseReadAsDirect, Neither };
enum class InterfaceByte { TA, TB, TC, TD };

constexpr std::size_t kMaxAtrLength = 33;

struct RateFactors {
  int fi = 0;  // 0: reserved for future use
  double fmaxMhz = 0;
  int di = 0;  // 0: reserved for future use
};

RateFactors RateFactorsOf(std::uint8_t ta1);

// "TA1", "TD2": the byte's letters and the i of its round.
std::string InterfaceByteName(InterfaceByte which, int index);

// TA1 ... TDn: the i of TAi, and the T of TD(i-1) that the byte belongs to (0 for i = 1).
struct FrameByte {
  InterfaceByte which = InterfaceByte::TA;
  int index = 1;
  int protocol = 0;
  std::uint8_t value = 0;
};

struct CheckByte {
  bool present = false;
  bool valid = false;
  std::uint8_t value = 0;
};

struct AtrFrame {
  // A memory card's H1 to H4: no character frame, nothing else below is set.
  bool synchronous = false;
  // The bytes in the direct convention: converted when TS came as 03, an inverse ATR read as direct.
  std::vector<std::uint8_t> bytes;
  TsForm ts = TsForm::Direct;
  std::vector<FrameByte> interface;  // in the order sent
  // From TA1; a card without TA1 works with the defaults.
  int fi = 372;
  int di = 1;
  double fmaxMhz = 5;
  std::vector<int> protocols = {0};  // in the order of the TDi, each once; T=15 is no protocol
  bool historicalReached = false;    // false when the interface bytes were cut short
  std::vector<std::uint8_t> historical;
  CheckByte tck;
  std::vector<std::string> problems;     // cut short, too long, wrong TCK, reserved rate factors
  std::size_t historicalProblemsAt = 0;  // where the historical bytes' own problems belong among them
};

// Takes the frame apart as far as the bytes go; never reads past them.
AtrFrame ParseAtrFrame(std::span<const std::uint8_t> bytes);

}  // namespace decode
