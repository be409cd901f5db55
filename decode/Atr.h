#pragma once
// The answer to reset of a card taken apart (ISO/IEC 7816-3): the character frame, every interface
// byte with its meaning, the historical bytes (ISO/IEC 7816-4) and TCK; or the four bytes H1 to H4
// of a synchronous memory card.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "decode/AtrFrame.h"

namespace decode {

// One byte of the ATR: "TS", "T0", "TA1" ... "TCK", or "H1" to "H4" of a memory card.
struct AtrByte {
  std::string name;
  std::uint8_t value = 0;
  std::string meaning;
};

// A compact-TLV object of the historical bytes: tag (a nibble) and its value. A 4F byte is taken
// as an application identifier with its length in the next byte, as many memory cards send it.
struct CompactTlv {
  std::uint8_t tag = 0;             // 0x0 to 0xF, or 0x4F
  std::uint8_t length = 0;          // as announced
  std::vector<std::uint8_t> value;  // shorter than length when the bytes end first
  std::string meaning;
};

struct HistoricalBytes {
  std::vector<std::uint8_t> bytes;
  std::string category;  // "compact-TLV data objects" for 80, empty when there are no bytes
  std::vector<CompactTlv> objects;
  std::optional<CompactTlv> statusIndicator;  // category 00: LCS, SW1, SW2 after the objects, as tag 8
  std::vector<std::string> problems;
};

enum class Convention { Direct, Inverse };

struct Atr {
  bool synchronous = false;  // a memory card's H1 to H4, no character frame
  Convention convention = Convention::Direct;
  AtrByte ts, t0;
  std::vector<AtrByte> interface;  // TA1 ... TDn in the order sent; H1 to H4 for a memory card
  // From TA1; a card without TA1 works with the defaults.
  int fi = 372;
  int di = 1;
  double fmaxMhz = 5;
  std::vector<int> protocols;  // in the order of the TDi, each once; T=15 is no protocol
  HistoricalBytes historical;
  CheckByte tck;
  std::vector<std::string> problems;  // cut short, too long, wrong TCK, RFU values
};

// Decodes as far as the bytes go and names what is wrong; never reads past them.
Atr DecodeAtr(std::span<const std::uint8_t> bytes);

// Historical bytes alone, as RESET ICC returns them when asked for them only.
HistoricalBytes DecodeHistoricalBytes(std::span<const std::uint8_t> bytes);

// Name, hex value and meaning, one field a line.
std::vector<std::string> AtrLines(const Atr& atr);
std::vector<std::string> HistoricalLines(const HistoricalBytes& historical);

}  // namespace decode
