#include <cstdio>

#include "cli/AnswerText.h"
#include "cli/Json.h"
#include "cli/Reports.h"
#include "console/ConsoleLogLines.h"

namespace cli {
namespace {

std::string XmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // XML 1.0 has no place for control characters other than tab and line ends.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
          out += '?';
        else
          out += c;
    }
  }
  return out;
}

std::string Seconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", ms / 1000);
  return text;
}

std::string ActualAnswer(const CommandResult& r) {
  if (!r.answered) return r.fault;
  if (r.rc < 0) return ReturnCodeLabel(r.rc);
  return r.answer.empty() ? "no answer bytes" : AnswerHex(r);
}

std::string_view VerdictName(CommandResult::Verdict verdict) {
  switch (verdict) {
    case CommandResult::Verdict::Met: return "met";
    case CommandResult::Verdict::Failed: return "failed";
    case CommandResult::Verdict::Unchecked: break;
  }
  return "unchecked";
}

// One test suite per file and terminal; a test case per command with an expectation, and per
// command that failed without one.
class JunitReport final : public RunReport {
 public:
  JunitReport(BatchDocuments& documents, std::size_t index) : documents_(documents), index_(index) {}

  void Init(const TerminalIdentity& t, int, double) override { terminal_ = t; }

  void FileStarted(const std::string&) override {
    cases_.clear();
    tests_ = failures_ = 0;
  }

  void Command(const RequestStep& step, const CommandResult& r) override {
    if (!step.expected.Checked() && r.verdict != CommandResult::Verdict::Failed) return;
    ++tests_;
    std::string name = "line " + std::to_string(step.line) + ": " + step.command;
    cases_ += "    <testcase name=\"" + XmlEscaped(name) + "\" classname=\"" + XmlEscaped(Trim(step.description)) +
              "\" time=\"" + Seconds(r.ms) + "\"";
    if (r.verdict != CommandResult::Verdict::Failed) {
      cases_ += "/>\n";
      return;
    }
    ++failures_;
    const std::string expected = step.expected.Checked() ? step.expected.Text() : "a return code of 0";
    const std::string actual = ActualAnswer(r);
    cases_ += ">\n      <failure message=\"" + XmlEscaped("expected " + expected + ", got " + actual) +
              "\" type=\"answer\">expected: " + XmlEscaped(expected) + "\nactual: " + XmlEscaped(actual) +
              (r.fault.empty() ? "" : "\n" + XmlEscaped(r.fault)) + "</failure>\n    </testcase>\n";
  }

  void FileEnded(const std::string& path, const Tally& tally) override {
    const std::string name = path + " (CTn " + std::to_string(terminal_.ctn) + ", port " +
                             std::to_string(terminal_.port) + ")";
    documents_.AddSuite(index_,
                        "  <testsuite name=\"" + XmlEscaped(name) + "\" tests=\"" + std::to_string(tests_) +
                            "\" failures=\"" + std::to_string(failures_) + "\" errors=\"0\" time=\"" +
                            Seconds(tally.ms) + "\">\n" + cases_ + "  </testsuite>\n",
                        tests_, failures_);
    cases_.clear();
  }

  void Ended(const TerminalSummary& s) override { terminal_ = s.terminal; }

 private:
  static std::string Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return std::string(text);
  }

  BatchDocuments& documents_;
  std::size_t index_;
  TerminalIdentity terminal_;
  std::string cases_;
  std::size_t tests_ = 0;
  std::size_t failures_ = 0;
};

// The terminal as one JSON object: its calls, every command, the tally and its exit code.
class JsonReport final : public RunReport {
 public:
  JsonReport(BatchDocuments& documents, std::size_t index) : documents_(documents), index_(index) {
    json_.BeginObject();
  }

  void Init(const TerminalIdentity& t, int rc, double ms) override {
    json_.Key("ctn").Number(std::int64_t{t.ctn}).Key("port").Number(std::int64_t{t.port});
    json_.Key("init").BeginObject().Key("rc").Number(std::int64_t{rc}).Key("ms").Number(ms).EndObject();
    json_.Key("files").BeginArray();
    inFiles_ = sawInit_ = true;
  }

  void FileStarted(const std::string& path) override {
    json_.BeginObject().Key("file").String(path).Key("commands").BeginArray();
  }

  void Command(const RequestStep& step, const CommandResult& r) override {
    json_.BeginObject().Key("line").Number(static_cast<std::int64_t>(step.line));
    json_.Key("description").String(step.description).Key("command").String(step.command);
    if (r.answered) {
      json_.Key("rc").Number(std::int64_t{r.rc}).Key("answer").String(AnswerHex(r));
    } else {
      json_.Key("rc").Null().Key("answer").Null();
    }
    json_.Key("ms").Number(r.ms);
    json_.Key("expected").BeginArray();
    for (const AnswerPattern& p : step.expected.alternatives) json_.String(p.rc ? "rc " + std::to_string(*p.rc) : p.text);
    json_.EndArray();
    json_.Key("result").String(VerdictName(r.verdict));
    if (!r.fault.empty()) json_.Key("fault").String(r.fault);
    json_.EndObject();
  }

  void FileEnded(const std::string&, const Tally&) override { json_.EndArray().EndObject(); }

  void Close(const TerminalIdentity&, int rc, double ms) override {
    json_.EndArray();
    inFiles_ = false;
    json_.Key("close").BeginObject().Key("rc").Number(std::int64_t{rc}).Key("ms").Number(ms).EndObject();
  }

  void Ended(const TerminalSummary& s) override {
    if (inFiles_) json_.EndArray();
    if (!sawInit_)  // CT_init never returned
      json_.Key("ctn").Number(std::int64_t{s.terminal.ctn}).Key("port").Number(std::int64_t{s.terminal.port});
    const Tally& t = s.tally;
    json_.Key("commands").Number(static_cast<std::int64_t>(t.commands));
    json_.Key("met").Number(static_cast<std::int64_t>(t.met)).Key("failed").Number(static_cast<std::int64_t>(t.failed));
    json_.Key("ms").Number(t.ms).Key("exit").Number(std::int64_t{s.exitCode});
    if (!s.reason.empty()) json_.Key("reason").String(s.reason);
    json_.EndObject();
    documents_.SetTerminal(index_, json_.Text());
  }

 private:
  BatchDocuments& documents_;
  std::size_t index_;
  JsonWriter json_;
  bool inFiles_ = false;
  bool sawInit_ = false;
};

}  // namespace

std::unique_ptr<RunReport> BatchDocuments::MakeJunitReport(std::size_t index) {
  return std::make_unique<JunitReport>(*this, index);
}

std::unique_ptr<RunReport> BatchDocuments::MakeJsonReport(std::size_t index) {
  return std::make_unique<JsonReport>(*this, index);
}

void BatchDocuments::AddSuite(std::size_t index, const std::string& xml, std::size_t tests, std::size_t failures) {
  const std::lock_guard lock(mutex_);
  suites_[index] += xml;
  tests_ += tests;
  failures_ += failures;
}

void BatchDocuments::SetTerminal(std::size_t index, std::string json) {
  const std::lock_guard lock(mutex_);
  while (!json.empty() && json.back() == '\n') json.pop_back();
  terminals_[index] = std::move(json);
}

std::string BatchDocuments::JunitText() const {
  const std::lock_guard lock(mutex_);
  std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<testsuites name=\"kelvanor-cli run\" tests=\"" +
                     std::to_string(tests_) + "\" failures=\"" + std::to_string(failures_) + "\">\n";
  for (const std::string& suite : suites_) text += suite;
  return text + "</testsuites>\n";
}

std::string BatchDocuments::JsonText(int exitCode) const {
  const std::lock_guard lock(mutex_);
  std::string text = "{\"terminals\": [";
  bool first = true;
  for (const std::string& terminal : terminals_) {
    if (terminal.empty()) continue;
    if (!first) text += ", ";
    first = false;
    text += terminal;
  }
  return text + "], \"exit\": " + std::to_string(exitCode) + "}\n";
}

}  // namespace cli
