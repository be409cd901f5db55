// kelvanor-cli run: request files played through a driver, their expected answers checked.
#include <cstdio>

#include "cli/BatchRunner.h"
#include "cli/DriverOptions.h"
#include "cli/Reports.h"
#include "cli/RequestFiles.h"
#include "cli/Subcommands.h"

namespace cli {
namespace {

constexpr OptionSpec kRunOptions[] = {
    {"--driver", true}, {"--ordinals", false}, {"--ctn", true},  {"--port", true},    {"--ports", true},
    {"--serial", false}, {"--log", true},      {"--junit", true}, {"--json", false}, {"--timeout", true},
};

int CannotRun(CliConsole& console, const std::string& reason) {
  console.Err("kelvanor-cli run: " + reason + "\n");
  return kExitCannotRun;
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int RunRequestFiles(Arguments args, CliConsole& console) {
  std::string error;
  const auto options = ParseDriverOptions(args, kRunOptions, {1}, error);
  if (!options) return CannotRun(console, error);
  if (options->arguments.empty()) return CannotRun(console, "no request file given (kelvanor-cli run FILE.req ...)");

  // Every file is read through once first: a malformed one sends nothing to any terminal.
  std::size_t commands = 0;
  for (const std::string& file : options->arguments) {
    const FileCheck check = CheckRequestFile(file);
    if (!check.error.empty()) return CannotRun(console, check.error);
    commands += check.commands;
  }
  const auto driver = LoadDriver(options->driver, error);
  if (!driver) return CannotRun(console, error);

  SharedOutput out(console);
  const std::size_t terminals = options->ports.size();
  BatchDocuments documents(terminals);
  std::vector<ReportList> reports(terminals);
  std::vector<TerminalJob> jobs;
  for (std::size_t i = 0; i < terminals; ++i) {
    const TerminalIdentity terminal{static_cast<std::uint16_t>(options->ctn + i), options->ports[i]};
    ReportList& list = reports[i];
    if (!options->json) list.Add(MakePersonReport(out, terminal.port, terminals > 1));
    if (out.ErrIsTerminal()) list.Add(MakeProgressReport(out, terminal.port, commands));
    if (!options->log.empty()) {
      auto log = MakeLogReport(terminals > 1 ? PortLogPath(options->log, terminal.port) : options->log, error);
      if (!log) return CannotRun(console, error);
      list.Add(std::move(log));
    }
    if (!options->junit.empty()) list.Add(documents.MakeJunitReport(i));
    if (options->json) list.Add(documents.MakeJsonReport(i));
    jobs.push_back({terminal, options->arguments, &list});
  }

  BatchOptions batch;
  batch.serial = options->serial;
  batch.timeout = std::chrono::milliseconds(static_cast<long long>(options->timeoutSeconds * 1000));
  std::vector<std::string> reasons;
  const int exitCode = RunBatch(*driver, jobs, batch, reasons);

  int result = exitCode;
  if (!options->junit.empty() && !WriteFile(options->junit, documents.JunitText())) {
    console.Err("kelvanor-cli run: --junit: cannot write " + options->junit + "\n");
    result = kExitCannotRun;
  }
  if (options->json) out.Out(documents.JsonText(exitCode));
  for (const std::string& reason : reasons) console.Err("kelvanor-cli run: " + reason + "\n");
  return result;
}

}  // namespace cli
