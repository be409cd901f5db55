#include "cli/BatchRunner.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/CommandTable.h"
#include "cli/RequestFiles.h"
#include "console/ConsoleLogLines.h"
#include "console/ConsoleState.h"
#include "ctapi/CtExchange.h"
#include "ctapi/ReturnCodeText.h"

namespace cli {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> callsLeftBehind{false};

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

enum class Call { Init, Data, Close };

// What the watcher and a terminal's thread share. The thread writes the progress fields only
// between driver calls; the watcher reads them only while a call runs, both under the batch's lock.
struct TerminalState {
  const TerminalJob* job = nullptr;
  bool done = false;
  bool abandoned = false;
  bool inCall = false;
  Call call = Call::Init;
  Clock::time_point callStart;
  const RequestStep* step = nullptr;  // of a running CT_data
  std::string file;                   // being played
  Tally fileTally;
  TerminalSummary summary;
};

struct Shared {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<TerminalState> terminals;
};

class TerminalRunner {
 public:
  TerminalRunner(std::shared_ptr<Shared> shared, std::size_t index, CtDriver driver, const BatchOptions& options)
      : shared_(std::move(shared)), index_(index), driver_(driver), open_(options.open) {}

  void Run();

 private:
  TerminalState& State() { return shared_->terminals[index_]; }
  // Marks the call as running; false when the watcher has given the terminal up meanwhile.
  bool Begin(Call call, const RequestStep* step);
  bool End();
  void Finish();
  void Worsen(int exitCode, std::string reason);
  enum class Played { Done, Stop, Abandoned };
  Played PlayFile(const std::string& path, CommandAddresses& addresses);

  std::shared_ptr<Shared> shared_;
  std::size_t index_;
  CtDriver driver_;
  std::function<std::optional<RequestFileScanner::ReadBytes>(const std::string&, std::string&)> open_;
};

bool TerminalRunner::Begin(Call call, const RequestStep* step) {
  const std::lock_guard lock(shared_->mutex);
  TerminalState& s = State();
  if (s.abandoned) return false;
  s.inCall = true;
  s.call = call;
  s.step = step;
  s.callStart = Clock::now();
  return true;
}

bool TerminalRunner::End() {
  const std::lock_guard lock(shared_->mutex);
  State().inCall = false;
  return !State().abandoned;
}

void TerminalRunner::Finish() {
  {
    const std::lock_guard lock(shared_->mutex);
    State().done = true;
  }
  shared_->changed.notify_all();
}

void TerminalRunner::Worsen(int exitCode, std::string reason) {
  TerminalSummary& summary = State().summary;
  if (exitCode <= summary.exitCode) return;
  summary.exitCode = exitCode;
  summary.reason = std::move(reason);
}

TerminalRunner::Played TerminalRunner::PlayFile(const std::string& path, CommandAddresses& addresses) {
  TerminalState& s = State();
  RunReport& report = *s.job->report;
  const std::uint16_t ctn = s.job->terminal.ctn;
  std::string error;
  auto read = open_ ? open_(path, error) : OpenRequestFile(path, error);
  if (!read) {
    Worsen(kExitCannotRun, error);
    return Played::Stop;
  }
  s.file = path;
  s.fileTally = {};
  report.FileStarted(path);
  RequestStepReader reader(std::move(*read));
  RequestStep step;
  std::vector<std::uint8_t> bytes;
  std::array<std::uint8_t, ConsoleState::kResponseCapacity> response;
  while (reader.Next(step)) {
    if (ParseCommandText(step.command, addresses, bytes) != CommandTextVerdict::Accepted) {
      Worsen(kExitCannotRun, path + ": line " + std::to_string(step.line) + ": the file changed during the run");
      break;
    }
    CommandResult result;
    result.sentTo = addresses.destination;
    if (bytes.size() >= 2) {
      result.cla = bytes[0];
      result.ins = bytes[1];
    }
    if (!Begin(Call::Data, &step)) return Played::Abandoned;
    const Clock::time_point start = Clock::now();
    const CtExchangeResult exchange =
        ExchangeCommand(driver_, ctn, addresses.destination, addresses.source, bytes, response);
    result.ms = MillisecondsSince(start);
    if (!End()) return Played::Abandoned;

    result.rc = exchange.rc;
    result.addresses = addresses;
    if (exchange.reportedLength > response.size() && IsCtSuccess(exchange.rc)) {
      // What the forwarder makes of it too: the answer does not fit, whatever the driver says.
      result.fault = "the driver reported " + std::to_string(exchange.reportedLength) + " answer bytes for a buffer of " +
                     std::to_string(response.size());
      result.rc = -11;
    }
    if (IsCtSuccess(result.rc)) result.answer.assign(response.begin(), response.begin() + exchange.responseLength);
    if (step.expected.Checked())
      result.verdict = step.expected.MetBy(result.rc, result.answer) ? CommandResult::Verdict::Met
                                                                      : CommandResult::Verdict::Failed;
    else if (!IsCtSuccess(result.rc))
      result.verdict = CommandResult::Verdict::Failed;  // no error code passes unless it is expected

    s.fileTally.Add(result);
    s.summary.tally.Add(result);
    if (result.verdict == CommandResult::Verdict::Failed)
      Worsen(kExitFailed, path + ": line " + std::to_string(step.line) + ": not the expected answer");
    report.Command(step, result);
  }
  if (!reader.Error().empty()) Worsen(kExitCannotRun, path + ": " + reader.Error());
  report.FileEnded(path, s.fileTally);
  s.file.clear();
  return s.summary.exitCode == kExitCannotRun ? Played::Stop : Played::Done;
}

void TerminalRunner::Run() {
  TerminalState& s = State();
  const TerminalJob& job = *s.job;
  RunReport& report = *job.report;
  s.summary.terminal = job.terminal;

  if (!Begin(Call::Init, nullptr)) return;
  Clock::time_point start = Clock::now();
  int rc = driver_.init(job.terminal.ctn, job.terminal.port);
  double ms = MillisecondsSince(start);
  if (!End()) return;
  report.Init(job.terminal, rc, ms);
  if (!IsCtSuccess(rc)) {
    Worsen(kExitCannotRun, "port " + std::to_string(job.terminal.port) + ": CT_init failed: " +
                               DriverErrorText(rc, kCtInitErrorPrefix));
    report.Ended(s.summary);
    Finish();
    return;
  }

  // As in the console, the addresses a command leaves stand for the next one.
  CommandAddresses addresses;
  for (const std::string& path : job.files) {
    const Played played = PlayFile(path, addresses);
    if (played == Played::Abandoned) return;
    if (played == Played::Stop) break;
  }

  if (!Begin(Call::Close, nullptr)) return;
  start = Clock::now();
  rc = driver_.close(job.terminal.ctn);
  ms = MillisecondsSince(start);
  if (!End()) return;
  report.Close(job.terminal, rc, ms);
  if (!IsCtSuccess(rc))
    Worsen(kExitFailed, "port " + std::to_string(job.terminal.port) + ": CT_close failed: " +
                            DriverErrorText(rc, kCtCloseErrorPrefix));
  report.Ended(s.summary);
  Finish();
}

// Ends a terminal whose call has run too long, in its thread's place. Called with the lock held.
void GiveUp(TerminalState& s, std::chrono::milliseconds timeout) {
  s.abandoned = true;
  s.done = true;
  callsLeftBehind = true;
  char limit[64];
  std::snprintf(limit, sizeof limit, "no answer within %g s", static_cast<double>(timeout.count()) / 1000);
  RunReport& report = *s.job->report;
  const std::string port = "port " + std::to_string(s.job->terminal.port) + ": ";
  if (s.call == Call::Data) {
    CommandResult result;
    result.answered = false;
    result.ms = MillisecondsSince(s.callStart);
    result.verdict = CommandResult::Verdict::Failed;
    result.fault = limit;
    s.fileTally.Add(result);
    s.summary.tally.Add(result);
    report.Command(*s.step, result);
    report.FileEnded(s.file, s.fileTally);
    s.summary.exitCode = kExitFailed;
    s.summary.reason = port + s.file + ": line " + std::to_string(s.step->line) + ": " + limit;
  } else {
    s.summary.exitCode = s.call == Call::Init ? kExitCannotRun : kExitFailed;
    s.summary.reason = port + (s.call == Call::Init ? "CT_init: " : "CT_close: ") + limit;
  }
  report.Ended(s.summary);
}

// Waits until every started terminal is done, giving up calls that outlast the limit.
void Watch(Shared& shared, std::size_t first, std::size_t count, std::chrono::milliseconds timeout) {
  std::unique_lock lock(shared.mutex);
  for (;;) {
    bool allDone = true;
    for (std::size_t i = first; i < first + count; ++i) {
      TerminalState& s = shared.terminals[i];
      if (s.done) continue;
      if (timeout.count() > 0 && s.inCall && Clock::now() - s.callStart > timeout)
        GiveUp(s, timeout);  // the reports are the terminal's own, and its thread will not touch them
      else
        allDone = false;
    }
    if (allDone) return;
    if (timeout.count() > 0)
      shared.changed.wait_for(lock, std::min<std::chrono::milliseconds>(timeout, std::chrono::milliseconds(50)));
    else
      shared.changed.wait(lock);
  }
}

}  // namespace

int RunBatch(const CtDriver& driver, const std::vector<TerminalJob>& jobs, const BatchOptions& options,
             std::vector<std::string>& reasons) {
  auto shared = std::make_shared<Shared>();
  shared->terminals.resize(jobs.size());
  for (std::size_t i = 0; i < jobs.size(); ++i) shared->terminals[i].job = &jobs[i];

  const std::size_t step = options.serial ? 1 : jobs.size();
  for (std::size_t first = 0; first < jobs.size(); first += step) {
    const std::size_t count = std::min(step, jobs.size() - first);
    std::vector<std::thread> threads;
    for (std::size_t i = first; i < first + count; ++i)
      threads.emplace_back([shared, i, driver, &options] { TerminalRunner(shared, i, driver, options).Run(); });
    Watch(*shared, first, count, options.timeout);
    std::vector<bool> abandoned(count);
    {
      const std::lock_guard lock(shared->mutex);
      for (std::size_t i = 0; i < count; ++i) abandoned[i] = shared->terminals[first + i].abandoned;
    }
    // A thread still in the driver keeps what it uses alive through its share of the state.
    for (std::size_t i = 0; i < count; ++i) abandoned[i] ? threads[i].detach() : threads[i].join();
  }
  int worst = kExitOk;
  const std::lock_guard lock(shared->mutex);
  for (const TerminalState& s : shared->terminals) {
    worst = std::max(worst, s.summary.exitCode);
    if (s.summary.exitCode != kExitOk) reasons.push_back(s.summary.reason);
  }
  return worst;
}

bool DriverCallsLeftBehind() { return callsLeftBehind; }

}  // namespace cli
