#include "app/SessionLog.h"
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

class LogReport final : public RunReport {
 public:
  bool Start(const std::string& path) {
    log_.SetPath(path);
    ReplaceExisting questions;
    return log_.StartOrClose(questions) == SessionLog::Outcome::Started;
  }

  void Init(const TerminalIdentity& t, int rc, double) override {
    log_.Write(CtInitLogLine(t.ctn, t.port));
    log_.Write(OutputLogLine(DriverResultText(rc, kCtInitOkText, kCtInitErrorPrefix)));
  }

  void Command(const RequestStep& step, const CommandResult& r) override {
    log_.Write(step.command + "\n");
    if (!r.answered) return;
    if (r.rc < 0)
      log_.Write(OutputLogLine(DriverResultText(r.rc, kCtDataOkText, kCtDataErrorPrefix)));
    else if (!r.answer.empty())  // as the console: a call without answer bytes leaves no response line
      log_.Write(FormatResponse(r.answer, r.addresses.source, r.addresses.destination, DisplayMode::Hex).log);
  }

  void Close(const TerminalIdentity& t, int rc, double) override {
    log_.Write(CtCloseLogLine(t.ctn));
    log_.Write(OutputLogLine(DriverResultText(rc, kCtCloseOkText, kCtCloseErrorPrefix)));
  }

 private:
  SessionLog log_;
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
