#include "cli/RequestSteps.h"

#include "console/CommandText.h"

namespace cli {

bool RequestStepReader::Fail(std::size_t line, const std::string& why) {
  error_ = "line " + std::to_string(line) + ": " + why;
  return false;
}

bool RequestStepReader::Next(RequestStep& step) {
  if (!error_.empty()) return false;
  RequestLine line;
  // Up to the next command: descriptions before it, and no expectation without a command.
  for (;;) {
    if (ahead_) {
      line = std::move(*ahead_);
      ahead_.reset();
    } else if (!scanner_.Next(line)) {
      return false;
    }
    if (line.kind == RequestLine::Kind::Command) break;
    if (line.kind == RequestLine::Kind::Skipped)
      return Fail(line.line, havePendingDescription_ ? "an expected answer after a description: it belongs right after its command"
                                                     : "an expected answer before any command");
    pendingDescription_ = std::move(line.text);
    havePendingDescription_ = true;
  }
  step.line = line.line;
  step.command = std::move(line.text);
  step.description = havePendingDescription_ ? std::move(pendingDescription_) : " ";
  havePendingDescription_ = false;
  step.expected.alternatives.clear();

  // The file must not be sent if the console would refuse a command of it.
  CommandAddresses addresses;
  std::vector<std::uint8_t> bytes;
  const CommandTextVerdict verdict = ParseCommandText(step.command, addresses, bytes);
  if (verdict != CommandTextVerdict::Accepted)
    return Fail(step.line, std::string(RefusalText(verdict)) + " (" + step.command.substr(0, 40) + ")");

  // The ">" lines that follow belong to this command, whatever ignored lines stand between.
  while (scanner_.Next(line)) {
    if (line.kind != RequestLine::Kind::Skipped) {
      ahead_ = std::move(line);
      break;
    }
    std::string why;
    std::optional<AnswerPattern> pattern = ParseAnswerPattern(line.text, why);
    if (!pattern) return Fail(line.line, "malformed expected answer '>" + line.text.substr(0, 40) + "': " + why);
    step.expected.alternatives.push_back(std::move(*pattern));
  }
  return true;
}

}  // namespace cli
