#pragma once
// What ZEMTRAK.INI says about the driver to forward to: the key Library of section [Driver].

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace forwarder {

inline constexpr std::string_view kSettingsFileName = "ZEMTRAK.INI";
// A settings file holds a few lines; anything bigger is not one.
inline constexpr std::size_t kMaxSettingsBytes = 64 * 1024;
// Longer names do not fit the Windows path functions the library is loaded with.
inline constexpr std::size_t kMaxLibraryName = 259;

enum class SettingsFault { NoLibrary, BadLibrary };

// The library name, or why there is none usable: absent or empty, or too long or with control bytes.
std::variant<std::string, SettingsFault> LibraryFromSettings(std::string_view text);

// The folder part of a file path, with its last separator; empty for a bare name.
std::string_view FolderOf(std::string_view path);

// What to load: a bare name is left to the system's library search, a relative path is taken from
// the settings file's folder, so a driver can sit beside the forwarder whatever the working folder.
std::string ResolveLibrary(std::string_view library, std::string_view settingsPath);

// The export names a CT-API function may have: the plain C name first, then on 32-bit Windows the
// stdcall decorations that compilers give it (_CT_init@8, CT_init@8).
std::vector<std::string> ExportNames(std::string_view name, int argumentBytes, bool stdcallNames);

}  // namespace forwarder
