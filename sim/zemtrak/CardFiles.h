#pragma once
// The card files ZEMTRAK.INI names, read again at each CT_init. A card whose file has not changed
// is kept with what was written to it; a changed file gives a fresh card.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/card/CardFile.h"
#include "sim/card/SimCardSlot.h"

namespace sim {

// A whole file's bytes; nothing when it cannot be read.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;

struct LoadedCards {
  std::vector<FileCard> cards;
  std::optional<std::string> problem;  // the first file that failed, as a version text
};

// name as given in a settings file or a card file; folder ends in its separator.
std::string PathFrom(const std::string& folder, const std::string& name);
// The folder of path, with its separator; empty for a bare name.
std::string FolderOf(const std::string& path);

// "Card file <path> line <n>: <what>", fitted to the version text's length.
std::string CardFileProblem(const std::string& path, const CardFileError& error);

class CardFiles {
 public:
  LoadedCards Load(const std::vector<std::string>& names, const std::string& folder, const FileReader& read);
  void Forget() { known_.clear(); }

 private:
  struct Known {
    CardSpec spec;
    std::shared_ptr<SimCard> card;
  };
  std::map<std::string, Known> known_;  // by path
};

}  // namespace sim
