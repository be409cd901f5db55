#pragma once
// Request files on disk for a batch run: read in pieces, never whole, and checked once before any
// command of them is sent.
#include <cstddef>
#include <optional>
#include <string>

#include "console/RequestFileScanner.h"

namespace cli {

// The file's bytes piece by piece; nothing, with the reason, when it cannot be opened.
std::optional<RequestFileScanner::ReadBytes> OpenRequestFile(const std::string& path, std::string& error);

struct FileCheck {
  std::size_t commands = 0;
  std::string error;  // "examples/x.req: line 3: ..."; empty when the file can run
};

// Reads the whole file as a run would: every command the console would take, every expected answer
// well formed, and at least one command.
FileCheck CheckRequestFile(const std::string& path);

}  // namespace cli
