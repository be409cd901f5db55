#pragma once
// Settings files in the INI form Windows reads: sections and keys regardless of case, blanks around
// names and values ignored, whole lines beginning with ';' or '#' are comments, the first of
// duplicate keys counts, and quotes around a value are dropped.

#include <optional>
#include <string>
#include <string_view>

namespace forwarder {

std::optional<std::string> IniValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace forwarder
