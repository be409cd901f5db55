#include "sim/zemtrak/CardFiles.h"

#include "common/VersionText.h"
#include "sim/card/MemoryCard.h"
#include "sim/card/ProcessorCard.h"

namespace sim {

namespace {
bool Absolute(const std::string& name) {
  return name.starts_with('/') || name.starts_with('\\') || (name.size() >= 2 && name[1] == ':');
}

std::string FileName(const std::string& path) { return path.substr(FolderOf(path).size()); }

CardChoice ChoiceOf(const CardSpec& spec, const std::string& path) {
  const std::string name = spec.name.empty() ? FileName(path) : spec.name;
  if (const auto* processor = std::get_if<ProcessorSpec>(&spec.card))
    return {name, name + (processor->getResponse ? " (processor card, T=0)" : " (processor card, T=1)")};
  return {name, name + " (memory card)"};
}

std::shared_ptr<SimCard> Build(const CardSpec& spec) {
  if (const auto* processor = std::get_if<ProcessorSpec>(&spec.card))
    return std::make_shared<ProcessorCard>(*processor);
  return std::make_shared<MemoryCard>(std::get<MemorySpec>(spec.card));
}
}  // namespace

std::string PathFrom(const std::string& folder, const std::string& name) {
  return Absolute(name) ? name : folder + name;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string CardFileProblem(const std::string& path, const CardFileError& error) {
  const std::string where = error.line ? " line " + std::to_string(error.line) : std::string();
  return FitPath("Card file ", path, where + ": " + error.message);
}

LoadedCards CardFiles::Load(const std::vector<std::string>& names, const std::string& folder,
                            const FileReader& read) {
  LoadedCards loaded;
  std::map<std::string, Known> known;
  for (const std::string& name : names) {
    const std::string path = PathFrom(folder, name);
    const std::optional<std::string> text = read ? read(path) : std::nullopt;
    if (!text) {
      loaded.problem = CardFileProblem(path, {0, "cannot be read"});
      return loaded;
    }
    const std::string beside = FolderOf(path);
    const ParsedCardFile parsed =
        ParseCardFile(*text, [&](const std::string& contents) { return read(PathFrom(beside, contents)); });
    if (!parsed.card) {
      loaded.problem = CardFileProblem(path, parsed.error);
      return loaded;
    }
    const auto before = known_.find(path);
    Known card = before != known_.end() && before->second.spec == *parsed.card
                     ? before->second
                     : Known{*parsed.card, Build(*parsed.card)};
    loaded.cards.push_back({ChoiceOf(card.spec, path), card.card});
    known[path] = std::move(card);
  }
  known_ = std::move(known);
  return loaded;
}

}  // namespace sim
