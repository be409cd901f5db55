#pragma once
// Request files (*.req): a command per line with an optional "#" description line before it.
#include <string>
#include <string_view>

#include "console/CommandLists.h"

// The name both file dialogs offer: "tm.req" at first, then every path the user confirmed.
std::string& RequestFileName();

// Empties the lists and fills them from a request file's bytes. Returns false when a 100th command
// line ended the load ("No Space available!"); its description has been counted by then, so the
// description list holds 100 entries and the command list 99.
bool LoadRequestText(std::string_view bytes, CommandLists& lists);

// The written form: "# description" and "command" lines for the first count entries, CR LF ends.
std::string RequestFileText(const std::array<std::string, CommandLists::kCapacity>& descriptions,
                            const std::array<std::string, CommandLists::kCapacity>& commands, int count);

// Writes the text so that the user's existing file is never left half written: into a temporary
// file beside it that then replaces it. Where no temporary file can be made, writes in place
// (created or emptied, else the existing file opened for writing and cut after the new end).
// false when the file could not be written.
bool WriteRequestFile(const std::string& path, std::string_view text);
