#pragma once
// Drivers' version texts that name a file: Kelvanor shows the text behind a 12-character prefix in a
// 120-byte line, so a text of kVersionTextLength characters is shown whole.

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t kVersionTextLength = 107;

// before + path + after in kVersionTextLength characters; a long path is shortened from the left,
// where its file name is not.
std::string FitPath(std::string_view before, std::string_view path, std::string_view after);
