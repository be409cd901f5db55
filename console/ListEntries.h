#pragma once
// Entries of the console's drop-down lists.
#include <cstdint>
#include <string>
#include <string_view>

// "0003 : 2,1 2010000000": the index with at least four digits, then the text, whole.
std::string DisplayFormEntry(int index, std::string_view text);

// Drops everything up to and including the first ':' and the character after it, which removes a
// display-form prefix; a ':' at the end leaves nothing. Text without ':' comes back whole.
std::string_view ColonCut(std::string_view text);

// Steps a selection to the next entry; past the last one (or on an empty list) it goes back to 0
// and returns true.
bool AdvanceSelection(std::int16_t& selection, std::int16_t count);
