#include <chrono>

#include "session/SessionLog.h"
#include "cli/Reports.h"
#include "console/ConsoleLogLines.h"
#include "console/ResponseDisplay.h"

namespace cli {
namespace {

// A batch run writes a new log; the console's question about an existing file has one answer here.
class ReplaceExisting final : public LogQuestions {
 public:
  bool AskContinueExisting() override { return false; }
  void ReportOpenError(const std::string&) override {}
};

// The log's lines go to the file in blocks: a write for every line, as the console makes, would
// cost a run many times what the driver takes. A block waits at most a fraction of a second, and
// whatever is held is written when a file, the session or the terminal ends, or is given up.
class LogReport final : public RunReport {
 public:
  ~LogReport() override { Flush(); }

  bool Start(const std::string& path) {
    log_.SetPath(path);
    ReplaceExisting questions;
    return log_.StartOrClose(questions) == SessionLog::Outcome::Started;
  }

  void Init(const TerminalIdentity& t, int rc, double) override {
    Add(CtInitLogLine(t.ctn, t.port));
    Add(OutputLogLine(DriverResultText(rc, kCtInitOkText, kCtInitErrorPrefix)));
  }

  void Command(const RequestStep& step, const CommandResult& r) override {
    Add(step.command + "\n");
    if (!r.answered) return;
    if (r.rc < 0)
      Add(OutputLogLine(DriverResultText(r.rc, kCtDataOkText, kCtDataErrorPrefix)));
    else if (!r.answer.empty())  // as the console: a call without answer bytes leaves no response line
      Add(FormatResponse(r.answer, r.addresses.source, r.addresses.destination, DisplayMode::Hex).log);
  }

  void Close(const TerminalIdentity& t, int rc, double) override {
    Add(CtCloseLogLine(t.ctn));
    Add(OutputLogLine(DriverResultText(rc, kCtCloseOkText, kCtCloseErrorPrefix)));
    Flush();
  }

  void FileEnded(const std::string&, const Tally&) override { Flush(); }
  void Ended(const TerminalSummary&) override { Flush(); }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr std::size_t kBlockBytes = 16 * 1024;
  static constexpr auto kMaxDelay = std::chrono::milliseconds(200);

  void Add(const std::string& text) {
    if (pending_.empty()) firstPending_ = Clock::now();
    pending_ += text;
    if (pending_.size() >= kBlockBytes || Clock::now() - firstPending_ >= kMaxDelay) Flush();
  }

  void Flush() {
    if (pending_.empty()) return;
    log_.Write(pending_);
    pending_.clear();
  }

  SessionLog log_;
  std::string pending_;
  Clock::time_point firstPending_;
};

}  // namespace

std::unique_ptr<RunReport> MakeLogReport(const std::string& path, std::string& error) {
  auto report = std::make_unique<LogReport>();
  if (!report->Start(path)) {
    error = "--log: cannot write " + path;
    return nullptr;
  }
  return report;
}

std::string PortLogPath(const std::string& path, std::uint16_t port) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  // A name that begins with its only dot has no extension.
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t at = dot != std::string::npos && dot > nameStart ? dot : path.size();
  return path.substr(0, at) + "-p" + std::to_string(port) + path.substr(at);
}

}  // namespace cli
