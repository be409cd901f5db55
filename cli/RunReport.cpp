#include "cli/RunReport.h"

namespace cli {

void Tally::Add(const CommandResult& result) {
  ++commands;
  ms += result.ms;
  if (result.verdict == CommandResult::Verdict::Met) ++met;
  if (result.verdict == CommandResult::Verdict::Failed) ++failed;
}

void ReportList::Init(const TerminalIdentity& t, int rc, double ms) {
  for (auto& r : reports_) r->Init(t, rc, ms);
}
void ReportList::FileStarted(const std::string& path) {
  for (auto& r : reports_) r->FileStarted(path);
}
void ReportList::Command(const RequestStep& step, const CommandResult& result) {
  for (auto& r : reports_) r->Command(step, result);
}
void ReportList::FileEnded(const std::string& path, const Tally& tally) {
  for (auto& r : reports_) r->FileEnded(path, tally);
}
void ReportList::Close(const TerminalIdentity& t, int rc, double ms) {
  for (auto& r : reports_) r->Close(t, rc, ms);
}
void ReportList::Ended(const TerminalSummary& summary) {
  for (auto& r : reports_) r->Ended(summary);
}

}  // namespace cli
