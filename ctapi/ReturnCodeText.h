#pragma once
#include <optional>
#include <string>
#include <string_view>

// Display text of a CT-API return code in the table (note the trailing blank), nothing for any
// other code; callers format their own fallback for those.
std::optional<std::string_view> ReturnCodeText(int code);

// What a panel shows for a failed driver call: the table text, or for any other code the caller's
// own prefix (such as "Error CT_init RC-code = ") followed by the code in decimal.
std::string DriverErrorText(int code, std::string_view fallbackPrefix);

// 0 and every positive code mean success.
constexpr bool IsCtSuccess(int code) { return code >= 0; }
