#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

constexpr std::size_t kCtNumberFieldLength = 5;

// The CT number field's text as a terminal number: the first five characters read as a decimal
// number (leading blanks, an optional sign). Nothing is taken from an empty field, a text with no
// number, a negative number or one above 65535; the caller then puts the remembered text back.
std::optional<std::uint16_t> ParseCtNumber(std::string_view fieldText);
