#pragma once
// Plays request files through a CT-API driver: per terminal CT_init, every command of every file
// with CT_data, CT_close. Terminals run at once on threads of their own, or one after another.
// A driver call that outlasts the time limit is left behind: its terminal ends as failed, the
// others go on.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/RunReport.h"
#include "console/RequestFileScanner.h"
#include "ctapi/CtApi.h"

namespace cli {

struct TerminalJob {
  TerminalIdentity terminal;
  std::vector<std::string> files;
  RunReport* report = nullptr;
};

struct BatchOptions {
  bool serial = false;
  std::chrono::milliseconds timeout{0};  // 0: wait as long as the driver takes
  // How a file is opened; the real files by default.
  std::function<std::optional<RequestFileScanner::ReadBytes>(const std::string& path, std::string& error)> open;
};

// The worst exit code of the terminals; reasons gets a line for each that did not end with 0.
int RunBatch(const CtDriver& driver, const std::vector<TerminalJob>& jobs, const BatchOptions& options,
             std::vector<std::string>& reasons);

// Calls still running in the driver after their terminal was given up: the process must then end
// without waiting for them (and without unloading the driver under them).
bool DriverCallsLeftBehind();

}  // namespace cli
