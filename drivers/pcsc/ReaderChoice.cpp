#include "drivers/pcsc/ReaderChoice.h"

#include <algorithm>

#include "common/IniFile.h"
#include "terminal/BcsTerminal.h"

namespace pcsc {

namespace {
std::variant<std::string, NoReader> FirstWithCard(const std::vector<std::string>& candidates,
                                                  const std::function<bool(const std::string&)>& hasCard) {
  const auto withCard = std::find_if(candidates.begin(), candidates.end(), hasCard);
  return withCard != candidates.end() ? *withCard : candidates.front();
}
}  // namespace

std::variant<std::string, NoReader> ChooseReader(const std::vector<std::string>& readers, std::uint16_t pn,
                                                 const std::string& namePart,
                                                 const std::function<bool(const std::string&)>& hasCard) {
  if (readers.empty()) return NoReader{"no reader"};
  if (!namePart.empty()) {
    const std::string wanted = ini::Lower(namePart);
    std::vector<std::string> matching;
    std::copy_if(readers.begin(), readers.end(), std::back_inserter(matching),
                 [&](const std::string& name) { return ini::Lower(name).find(wanted) != std::string::npos; });
    if (matching.empty()) return NoReader{"no reader named like \"" + namePart + "\""};
    return FirstWithCard(matching, hasCard);
  }
  if (pn == 0) return FirstWithCard(readers, hasCard);
  if (pn > readers.size()) {
    return NoReader{"no reader at port " + std::to_string(pn) + " (" + std::to_string(readers.size()) +
                    (readers.size() == 1 ? " reader)" : " readers)")};
  }
  return readers[pn - 1];
}

std::string ManufacturerOf(const std::string& reader) {
  std::string field = reader.substr(0, terminal::BcsTerminal::kManufacturerLength);
  for (char& c : field) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E) c = '.';
  }
  return field;
}

}  // namespace pcsc
