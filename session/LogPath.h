#pragma once
#include <string>
#include <string_view>

constexpr std::size_t kCurrentDirectoryBufferSize = 255;

// KELVAN.LOG in the start directory, upper-cased. A directory of 4 or more characters gets a
// backslash before the name; a drive root ("C:\") or an empty text does not. A directory that does
// not fit the 255-character buffer (254 characters and the NUL) counts as empty.
std::string BuildLogPath(std::string_view currentDirectory);
