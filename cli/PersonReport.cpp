#include <chrono>
#include <cstdio>

#include "cli/AnswerText.h"
#include "cli/Reports.h"
#include "console/ConsoleLogLines.h"
#include "ctapi/ReturnCodeText.h"
#include "decode/TextRows.h"

namespace cli {
namespace {

std::string Milliseconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f ms", ms);
  return text;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

class PersonReport final : public RunReport {
 public:
  PersonReport(SharedOutput& out, std::uint16_t port, bool namePort)
      : out_(out), prefix_(namePort ? "[port " + std::to_string(port) + "] " : "") {}

  void Init(const TerminalIdentity& t, int rc, double ms) override {
    Line("CT_init (CTn: " + std::to_string(t.ctn) + ", PTn: " + std::to_string(t.port) + "): " +
         DriverResultText(rc, kCtInitOkText, kCtInitErrorPrefix) + "  " + Milliseconds(ms));
    Flush();
  }

  void FileStarted(const std::string& path) override { Line(path); }

  void Command(const RequestStep& step, const CommandResult& r) override {
    const std::string_view description = Trimmed(step.description);
    Line("  line " + std::to_string(step.line) + (description.empty() ? "" : ": " + std::string(description)));
    Line("    " + step.command);
    std::string answer;
    if (!r.answered) {
      answer = "no answer";
    } else if (r.rc < 0) {
      answer = ReturnCodeLabel(r.rc);
    } else {
      answer = r.answer.empty() ? "(no answer bytes)" : AnswerHex(r);
      const std::string meaning = StatusWordMeaning(r);
      if (!meaning.empty()) answer += "  " + meaning;
    }
    std::string verdict;
    switch (r.verdict) {
      case CommandResult::Verdict::Met:
        verdict = "OK";
        break;
      case CommandResult::Verdict::Failed:
        verdict = "FAILED, expected " + (step.expected.Checked() ? step.expected.Text() : "a return code of 0");
        break;
      case CommandResult::Verdict::Unchecked:
        verdict = "not checked";
        break;
    }
    Line("    -> " + answer + "  " + Milliseconds(r.ms) + "  " + verdict);
    if (!r.fault.empty()) Line("    " + r.fault);
    if (block_.size() > 64 * 1024) Flush();
  }

  void FileEnded(const std::string&, const Tally&) override { Flush(); }

  void Close(const TerminalIdentity& t, int rc, double ms) override {
    Line("CT_close (CTn: " + std::to_string(t.ctn) + "): " +
         DriverResultText(rc, kCtCloseOkText, kCtCloseErrorPrefix) + "  " + Milliseconds(ms));
  }

  void Ended(const TerminalSummary& s) override {
    const double total =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    const Tally& t = s.tally;
    Line("Port " + std::to_string(s.terminal.port) + ": " + decode::Count(t.commands, "command") + " sent, " +
         decode::Count(t.met, "expectation") + " met, " + std::to_string(t.failed) + " failed; " +
         Milliseconds(total) + " in all, " + Milliseconds(t.ms) + " in the driver" +
         (s.exitCode == 0 ? "" : s.exitCode == 1 ? "  FAILED" : "  NOT RUN"));
    Flush();
  }

 private:
  void Line(const std::string& text) {
    block_ += prefix_;
    block_ += text;
    block_ += '\n';
  }
  void Flush() {
    out_.Out(block_);
    block_.clear();
  }

  SharedOutput& out_;
  std::string prefix_;
  std::string block_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

class ProgressReport final : public RunReport {
 public:
  ProgressReport(SharedOutput& out, std::uint16_t port, std::size_t total) : out_(out), total_(total), port_(port) {}
  void Command(const RequestStep&, const CommandResult&) override {
    ++done_;
    const auto now = std::chrono::steady_clock::now();
    if (now - shown_ < std::chrono::milliseconds(200)) return;
    shown_ = now;
    out_.Err("\r[port " + std::to_string(port_) + "] " + std::to_string(done_) + "/" + std::to_string(total_) +
             " commands");
    dirty_ = true;
  }
  void Ended(const TerminalSummary&) override {
    if (dirty_) out_.Err("\r\033[K");  // the line goes once the run is over
  }

 private:
  SharedOutput& out_;
  std::size_t total_;
  std::uint16_t port_;
  std::size_t done_ = 0;
  bool dirty_ = false;
  std::chrono::steady_clock::time_point shown_{};
};

}  // namespace

std::unique_ptr<RunReport> MakePersonReport(SharedOutput& out, std::uint16_t port, bool namePort) {
  return std::make_unique<PersonReport>(out, port, namePort);
}

std::unique_ptr<RunReport> MakeProgressReport(SharedOutput& out, std::uint16_t port, std::size_t totalCommands) {
  return std::make_unique<ProgressReport>(out, port, totalCommands);
}

}  // namespace cli
