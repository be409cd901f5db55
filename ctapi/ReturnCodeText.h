#pragma once
#include <optional>
#include <string_view>

// Display text of a CT-API return code in the table (note the trailing blank), nothing for any
// other code; callers format their own fallback for those.
std::optional<std::string_view> ReturnCodeText(int code);

// 0 and every positive code mean success.
constexpr bool IsCtSuccess(int code) { return code >= 0; }
