#pragma once
// Which PC/SC reader a CT_init means, and how the terminal names it.

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace pcsc {

struct NoReader {
  std::string why;  // for CT_version
};

// pn 0: the first reader with a card in it, else the first reader; pn 1 and up: the reader at that
// place in the list. A part of a name, when given, picks among the readers whose names contain it
// (regardless of case) instead, again one with a card first.
std::variant<std::string, NoReader> ChooseReader(const std::vector<std::string>& readers, std::uint16_t pn,
                                                 const std::string& namePart,
                                                 const std::function<bool(const std::string&)>& hasCard);

// GET STATUS's manufacturer field: the name's first bytes, anything not printable as '.'.
std::string ManufacturerOf(const std::string& reader);

}  // namespace pcsc
