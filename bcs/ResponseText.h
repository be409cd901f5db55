#pragma once
// The panel's response as hexadecimal text, the form its status words are searched in.
#include <cstdint>
#include <span>
#include <string>

enum class HexForm {
  Compact,  // "9000"
  Spaced,   // "90 00 "
};

// The panel's text holds 3000 characters; conversion stops once the next byte would start beyond
// position 2990, so at most 1496 bytes (compact) or 997 bytes (spaced) show.
constexpr std::size_t kLastWritePosition = 2990;

// Lower-case digits, as the panel shows them before any upper-casing.
std::string ResponseText(std::span<const std::uint8_t> response, HexForm form);

std::string UpperCase(std::string text);

// "2,1    " followed by the command bytes in compact form: the panel's input label.
std::string CommandNotation(std::span<const std::uint8_t> command);
