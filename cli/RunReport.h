#pragma once
// What a batch run tells its reports, terminal by terminal: the session calls, each command with
// its answer and verdict, and the tallies. One report object serves one terminal, and is called
// from that terminal's thread only.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/RequestSteps.h"
#include "console/CommandText.h"

namespace cli {

struct CommandResult {
  enum class Verdict { Unchecked, Met, Failed };
  std::uint8_t sentTo = 0;  // the destination address the command went to
  std::uint8_t cla = 0, ins = 0;
  bool answered = true;  // false: the driver did not return in time
  int rc = 0;
  std::vector<std::uint8_t> answer;
  CommandAddresses addresses;  // as the driver wrote them back
  double ms = 0;
  Verdict verdict = Verdict::Unchecked;
  std::string fault;  // what went wrong beyond the answer: a length over the buffer, no answer in time
};

struct Tally {
  std::size_t commands = 0;
  std::size_t met = 0;
  std::size_t failed = 0;
  double ms = 0;  // in the driver
  void Add(const CommandResult& result);
};

struct TerminalIdentity {
  std::uint16_t ctn = 1;
  std::uint16_t port = 1;
};

struct TerminalSummary {
  TerminalIdentity terminal;
  Tally tally;
  int exitCode = 0;    // kExitOk, kExitFailed or kExitCannotRun
  std::string reason;  // why it could not run or ended early
};

class RunReport {
 public:
  virtual ~RunReport() = default;
  virtual void Init(const TerminalIdentity&, int /*rc*/, double /*ms*/) {}
  virtual void FileStarted(const std::string& /*path*/) {}
  virtual void Command(const RequestStep&, const CommandResult&) {}
  virtual void FileEnded(const std::string& /*path*/, const Tally&) {}
  virtual void Close(const TerminalIdentity&, int /*rc*/, double /*ms*/) {}
  virtual void Ended(const TerminalSummary&) {}
};

// Passes every call on to each report in turn.
class ReportList final : public RunReport {
 public:
  void Add(std::unique_ptr<RunReport> report) { reports_.push_back(std::move(report)); }
  void Init(const TerminalIdentity& t, int rc, double ms) override;
  void FileStarted(const std::string& path) override;
  void Command(const RequestStep& step, const CommandResult& result) override;
  void FileEnded(const std::string& path, const Tally& tally) override;
  void Close(const TerminalIdentity& t, int rc, double ms) override;
  void Ended(const TerminalSummary& summary) override;

 private:
  std::vector<std::unique_ptr<RunReport>> reports_;
};

}  // namespace cli
