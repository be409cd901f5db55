#pragma once
// What a simulated card is made of: its answer to reset and its files, PINs or memory. The built-in
// cards and the cards read from card files are both described this way.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "terminal/CardSlot.h"

namespace sim {

using terminal::Bytes;

struct AccessRule {
  enum class Kind { Always, Never, Pin };
  Kind kind = Kind::Always;
  std::uint8_t pin = 0;  // the PIN's reference, for Kind::Pin

  bool operator==(const AccessRule&) const = default;
};

struct FileSpec {
  enum class Kind { Df, Transparent, Records };
  Kind kind = Kind::Df;
  std::uint16_t fid = 0;
  std::optional<std::size_t> parent;  // index of the DF it is in; none for the MF
  Bytes aid;                          // a DF's name, empty when it has none
  Bytes contents;                     // a transparent EF's bytes, as many as its size
  std::vector<Bytes> records;         // a record EF's records, record 1 first
  std::optional<std::uint8_t> sfi;    // short EF identifier, 1 to 30
  AccessRule read;
  AccessRule update;

  bool operator==(const FileSpec&) const = default;
};

struct PinSpec {
  std::uint8_t reference = 0;
  Bytes value;
  int tries = 3;

  bool operator==(const PinSpec&) const = default;
};

struct ProcessorSpec {
  Bytes atr;
  Bytes historicalBytes;
  // T=0: answers with data come as 61 xx and are fetched with GET RESPONSE.
  bool getResponse = false;
  // SELECT with P2 00 or 04 answers the FCI or FCP template; the built-in card never did.
  bool selectAnswersTemplate = true;
  std::vector<FileSpec> files;  // files[0] is the MF
  std::vector<PinSpec> pins;

  bool operator==(const ProcessorSpec&) const = default;
};

// An application's area in a memory card's application directory.
struct AreaSpec {
  Bytes aid;
  std::size_t offset = 0;
  std::size_t length = 0;

  bool operator==(const AreaSpec&) const = default;
};

struct MemorySpec {
  Bytes atr;
  Bytes contents;
  std::vector<AreaSpec> areas;

  bool operator==(const MemorySpec&) const = default;
};

struct CardSpec {
  std::string name;
  std::variant<ProcessorSpec, MemorySpec> card;

  bool operator==(const CardSpec&) const = default;
};

// The two cards that are there without any card file.
ProcessorSpec BuiltInProcessorSpec();
MemorySpec BuiltInMemorySpec();

}  // namespace sim
