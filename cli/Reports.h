#pragma once
// The reports of a batch run, one object of each per terminal: for a person on standard output,
// the console's session log, JUnit XML and JSON. Terminals that run at once share the output
// through a lock, each report writing whole blocks.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cli/CliConsole.h"
#include "cli/RunReport.h"

namespace cli {

class SharedOutput {
 public:
  explicit SharedOutput(CliConsole& console) : console_(console) {}
  void Out(std::string_view text);
  void Err(std::string_view text);
  bool ErrIsTerminal() const { return console_.ErrIsTerminal(); }

 private:
  CliConsole& console_;
  std::mutex mutex_;
};

// Each command with its description, the answer, its status word explained, the driver's time and
// OK or FAILED; a summary line at the end. With several terminals each line names its port.
std::unique_ptr<RunReport> MakePersonReport(SharedOutput& out, std::uint16_t port, bool namePort);

// "done/total commands" on standard error while the run lasts; only where a person watches it.
std::unique_ptr<RunReport> MakeProgressReport(SharedOutput& out, std::uint16_t port, std::size_t totalCommands);

// The lines the test console writes to KELVAN.LOG for the same calls. Nothing, with the reason,
// when the file cannot be written.
std::unique_ptr<RunReport> MakeLogReport(const std::string& path, std::string& error);

// The log's path for one of several terminals: "-p<port>" before the extension.
std::string PortLogPath(const std::string& path, std::uint16_t port);

// Collects the terminals' JUnit test suites and JSON objects as they end; written once all have.
class BatchDocuments {
 public:
  explicit BatchDocuments(std::size_t terminals) : suites_(terminals), terminals_(terminals) {}
  // For the terminal at this place in the run's order, which the documents keep.
  std::unique_ptr<RunReport> MakeJunitReport(std::size_t index);
  std::unique_ptr<RunReport> MakeJsonReport(std::size_t index);
  // <testsuites> with one suite per file and terminal; ISO-8859-1, as request files are single-byte text.
  std::string JunitText() const;
  // {"terminals": [...], "exit": code}
  std::string JsonText(int exitCode) const;

  void AddSuite(std::size_t index, const std::string& xml, std::size_t tests, std::size_t failures);
  void SetTerminal(std::size_t index, std::string json);

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> suites_;
  std::size_t tests_ = 0;
  std::size_t failures_ = 0;
  std::vector<std::string> terminals_;
};

}  // namespace cli
