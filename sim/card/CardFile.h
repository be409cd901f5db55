#pragma once
// Card files: a technician's own card for the simulated terminal, written by hand as INI text.
// The format is described in sim/zemtrak/README.md. Anything wrong is reported with its line.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sim/card/CardSpec.h"

namespace sim {

inline constexpr std::size_t kMaxCardFileSize = 1 << 20;
inline constexpr std::size_t kMaxCardFiles = 1000;  // DFs and EFs
inline constexpr std::size_t kMaxFileSize = 32768;  // what READ BINARY's 15-bit offset reaches

struct CardFileError {
  std::size_t line = 0;  // 0: the file as a whole
  std::string message;
};

struct ParsedCardFile {
  std::optional<CardSpec> card;
  CardFileError error;  // when there is no card
};

// A memory card's contents file as named in the card file (beside it); nothing when unreadable.
using ContentsReader = std::function<std::optional<std::string>(const std::string& name)>;

ParsedCardFile ParseCardFile(std::string_view text, const ContentsReader& readContents);

}  // namespace sim
