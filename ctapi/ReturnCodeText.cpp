#include "ctapi/ReturnCodeText.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<int, std::string_view>, 5> kTexts{{
    {-1, "-1 (ERR_INVALID) "},
    {-8, "-8 (ERR_CT) "},
    {-10, "-10 (ERR_TRANS) "},
    {-11, "-11 (ERR_MEMORY) "},
    {-128, "-128 (ERR_HTSI) "},
}};
}  // namespace

std::optional<std::string_view> ReturnCodeText(int code) {
  auto it = std::find_if(kTexts.begin(), kTexts.end(), [code](const auto& e) { return e.first == code; });
  if (it == kTexts.end()) return std::nullopt;
  return it->second;
}

std::string DriverErrorText(int code, std::string_view fallbackPrefix) {
  if (const auto text = ReturnCodeText(code)) return std::string(*text);
  return std::string(fallbackPrefix) + std::to_string(code);
}
