#include "drivers/forwarder/DriverSettings.h"

#include <algorithm>

#include "common/IniFile.h"

namespace forwarder {

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAbsolute(std::string_view path) {
  const bool drive = path.size() >= 2 && path[1] == ':' &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drive || (!path.empty() && IsSeparator(path.front()));
}
}  // namespace

std::variant<std::string, SettingsFault> LibraryFromSettings(std::string_view text) {
  std::optional<std::string> library = ini::IniFile(text).Value("Driver", "Library");
  if (!library || library->empty()) return SettingsFault::NoLibrary;
  const bool control =
      std::ranges::any_of(*library, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  if (control || library->size() > kMaxLibraryName) return SettingsFault::BadLibrary;
  return std::move(*library);
}

std::string_view FolderOf(std::string_view path) {
  const std::size_t last = path.find_last_of("\\/");
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

std::string ResolveLibrary(std::string_view library, std::string_view settingsPath) {
  const bool bareName = std::ranges::none_of(library, IsSeparator);
  if (bareName || IsAbsolute(library)) return std::string(library);
  return std::string(FolderOf(settingsPath)) + std::string(library);
}

std::vector<std::string> ExportNames(std::string_view name, int argumentBytes, bool stdcallNames) {
  std::vector<std::string> names{std::string(name)};
  if (stdcallNames) {
    const std::string decorated = std::string(name) + "@" + std::to_string(argumentBytes);
    names.push_back("_" + decorated);
    names.push_back(decorated);
  }
  return names;
}

}  // namespace forwarder
