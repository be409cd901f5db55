#pragma once
// How list entries are shown and taken back: the display form "0003 : text" and the colon cut.
#include <string>
#include <string_view>

// "%.4d : %s": the index with at least four digits, then " : " and the text.
std::string DisplayEntry(int index, std::string_view text);

// Drops everything up to and including the first ':' and the character after it, which removes a
// display-form prefix; a ':' at the end leaves nothing. Text without ':' is returned whole.
std::string ColonCut(std::string_view text);
