#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <thread>

#include "cli/BatchRunner.h"
#include "cli/CommandTable.h"
#include "cli/Reports.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A driver whose CT_data answers are set per test: the same answer for every call, or a hang.
struct FakeDriver {
  static inline int initRc = 0;
  static inline int dataRc = 0;
  static inline Bytes answer{0x90, 0x00};
  static inline std::optional<unsigned short> reportedLength;
  static inline std::atomic<bool> hang{false};
  static inline std::atomic<int> callsRunning{0};

  static signed char CTAPI_CALL Init(unsigned short, unsigned short) { return static_cast<signed char>(initRc); }
  static signed char CTAPI_CALL Close(unsigned short) { return 0; }
  static signed char CTAPI_CALL Data(unsigned short, unsigned char* dad, unsigned char* sad, unsigned short,
                                     unsigned char*, unsigned short* lenr, unsigned char* response) {
    ++callsRunning;
    const std::shared_ptr<void> leaving(nullptr, [](void*) { --callsRunning; });
    while (hang) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const std::size_t n = std::min<std::size_t>(answer.size(), *lenr);
    std::copy_n(answer.begin(), n, response);
    *lenr = reportedLength.value_or(static_cast<unsigned short>(answer.size()));
    std::swap(*dad, *sad);
    return static_cast<signed char>(dataRc);
  }
  static signed char CTAPI_CALL Version(char* buffer, int) {
    buffer[0] = 0;
    return 0;
  }
  static CtDriver Driver() { return {Init, Close, Data, Version}; }
  static void Reset() {
    // A call given up by the runner returns only now: it must be out of this driver before the
    // next test changes the answer, or the program's exit frees it under the call.
    hang = false;
    for (int i = 0; callsRunning > 0 && i < 1000; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    initRc = dataRc = 0;
    answer = {0x90, 0x00};
    reportedLength.reset();
  }
};

// Collects what the reports get, to look at the results.
struct Recorder final : cli::RunReport {
  std::vector<cli::CommandResult> results;
  cli::TerminalSummary summary;
  void Command(const cli::RequestStep&, const cli::CommandResult& r) override { results.push_back(r); }
  void Ended(const cli::TerminalSummary& s) override { summary = s; }
};

struct Outcome {
  int exitCode = 0;
  std::vector<std::string> reasons;
  Recorder recorder;
};

RequestFileScanner::ReadBytes ReadText(std::string text) {
  auto rest = std::make_shared<std::string>(std::move(text));
  return [rest](char* buffer, std::size_t capacity) {
    const std::size_t n = std::min(capacity, rest->size());
    std::copy_n(rest->data(), n, buffer);
    rest->erase(0, n);
    return n;
  };
}

void RunText(Outcome& run, const std::string& text, std::chrono::milliseconds timeout = {}) {
  cli::BatchOptions options;
  options.timeout = timeout;
  options.open = [text](const std::string&, std::string&) { return std::optional(ReadText(text)); };
  std::vector<cli::TerminalJob> jobs{{{1, 1}, {"course.req"}, &run.recorder}};
  run.exitCode = cli::RunBatch(FakeDriver::Driver(), jobs, options, run.reasons);
}

class BatchRunner : public ::testing::Test {
 protected:
  void SetUp() override { FakeDriver::Reset(); }
  void TearDown() override { FakeDriver::Reset(); }
};

}  // namespace

TEST_F(BatchRunner, ExitCodesFollowTheWorstCommand) {
  const struct {
    const char* name;
    const char* file;
    int initRc, dataRc;
    int exitCode;
  } cases[] = {
      {"every expectation met", "2,1 20110000\n> 90 00\n2,1 20110000\n", 0, 0, cli::kExitOk},
      {"one not met", "2,1 20110000\n> 90 00\n2,1 20110000\n> 62 00\n", 0, 0, cli::kExitFailed},
      {"an expected error code", "2,1 20110000\n> rc -11\n", 0, -11, cli::kExitOk},
      {"an unexpected error code without an expectation", "2,1 20110000\n", 0, -11, cli::kExitFailed},
      {"CT_init fails", "2,1 20110000\n> 90 00\n", -8, 0, cli::kExitCannotRun},
  };
  for (const auto& c : cases) {
    FakeDriver::initRc = c.initRc;
    FakeDriver::dataRc = c.dataRc;
    Outcome run;
    RunText(run, c.file);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
    EXPECT_EQ(run.reasons.empty(), c.exitCode == 0) << c.name;
  }
}

TEST_F(BatchRunner, ALengthOverTheBufferIsErrMemoryAndNoOverrun) {
  FakeDriver::reportedLength = 65535;
  Outcome run;
  RunText(run, "2,1 20110000\n> 90 00\n");
  EXPECT_EQ(run.exitCode, cli::kExitFailed);
  ASSERT_EQ(run.recorder.results.size(), 1u);
  EXPECT_EQ(run.recorder.results[0].rc, -11);
  EXPECT_TRUE(run.recorder.results[0].answer.empty());
  EXPECT_NE(run.recorder.results[0].fault.find("65535 answer bytes for a buffer of 4096"), std::string::npos);
}

TEST_F(BatchRunner, ACallPastTheTimeLimitEndsItsTerminal) {
  FakeDriver::hang = true;
  Outcome run;
  const auto start = std::chrono::steady_clock::now();
  RunText(run, "2,1 20110000\n> 90 00\n2,1 20110000\n", std::chrono::milliseconds(200));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(run.exitCode, cli::kExitFailed);
  ASSERT_EQ(run.recorder.results.size(), 1u);
  EXPECT_FALSE(run.recorder.results[0].answered);
  EXPECT_EQ(run.recorder.results[0].fault, "no answer within 0.2 s");
  EXPECT_EQ(run.recorder.summary.exitCode, cli::kExitFailed);
  ASSERT_EQ(run.reasons.size(), 1u);
  EXPECT_EQ(run.reasons[0], "port 1: course.req: line 1: no answer within 0.2 s");
  EXPECT_TRUE(cli::DriverCallsLeftBehind());
  FakeDriver::hang = false;  // the call left behind returns, and its thread ends on its own
}

TEST_F(BatchRunner, TheLogHasTheConsolesLines) {
  const std::string path = ::testing::TempDir() + "kelvanor-batch.log";
  std::string error;
  Outcome run;
  {
    std::vector<cli::TerminalJob> jobs(1);
    cli::ReportList reports;
    reports.Add(cli::MakeLogReport(path, error));
    jobs[0] = {{1, 1}, {"course.req"}, &reports};
    cli::BatchOptions options;
    options.open = [](const std::string&, std::string&) {
      return std::optional(ReadText("#Reset CT\n2,1 20110000\n> 90 00\n2,1    20110000\n2,0 00A40000\n> rc -10\n"));
    };
    FakeDriver::answer = {0x90, 0x00};
    run.exitCode = cli::RunBatch(FakeDriver::Driver(), jobs, options, run.reasons);
  }
  std::ifstream file(path, std::ios::binary);
  const std::string log{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  // What the console writes for CT_init, three typed commands (the second with its blanks as typed)
  // and CT_close: here every CT_data answers 90 00 from 1 to 2.
  EXPECT_EQ(log,
            "CT_init (CTn: 1, PTn: 1)\r\n>CT_init ok\r\n"
            "2,1 20110000\r\n#1,2 9000\r\n"
            "2,1    20110000\r\n#1,2 9000\r\n"
            "2,0 00A40000\r\n#0,2 9000\r\n"
            "CT_close (CTn: 1)\r\n>CT_close ok\r\n");
  EXPECT_EQ(run.exitCode, cli::kExitFailed);  // the last one expected rc -10
  std::remove(path.c_str());
}

// The process ends without closing anything when a call is left behind: what the log holds by then
// must be in the file already.
TEST_F(BatchRunner, TheLogIsWrittenWhenACallIsGivenUp) {
  const std::string path = ::testing::TempDir() + "kelvanor-batch-hang.log";
  std::string error;
  cli::ReportList reports;
  reports.Add(cli::MakeLogReport(path, error));
  std::vector<cli::TerminalJob> jobs{{{1, 1}, {"x.req"}, &reports}};
  cli::BatchOptions options;
  options.timeout = std::chrono::milliseconds(100);
  options.open = [](const std::string&, std::string&) { return std::optional(ReadText("2,1 20110000\n> 90 00\n")); };
  FakeDriver::hang = true;
  std::vector<std::string> reasons;
  EXPECT_EQ(cli::RunBatch(FakeDriver::Driver(), jobs, options, reasons), cli::kExitFailed);
  std::ifstream file(path, std::ios::binary);
  const std::string log{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_EQ(log, "CT_init (CTn: 1, PTn: 1)\r\n>CT_init ok\r\n2,1 20110000\r\n");
  FakeDriver::hang = false;
}

TEST_F(BatchRunner, AFailedCallIsLoggedAsTheConsoleShowsIt) {
  const std::string path = ::testing::TempDir() + "kelvanor-batch-error.log";
  std::string error;
  std::vector<std::string> reasons;
  {
    cli::ReportList reports;
    reports.Add(cli::MakeLogReport(path, error));
    std::vector<cli::TerminalJob> jobs{{{2, 1}, {"x.req"}, &reports}};
    cli::BatchOptions options;
    options.open = [](const std::string&, std::string&) { return std::optional(ReadText("2,1 20110000\n> rc -10\n2,1 20110000\n> rc -5\n")); };
    FakeDriver::dataRc = -10;
    cli::RunBatch(FakeDriver::Driver(), jobs, options, reasons);
    FakeDriver::dataRc = 0;
  }
  std::ifstream file(path, std::ios::binary);
  const std::string log{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_EQ(log,
            "CT_init (CTn: 2, PTn: 1)\r\n>CT_init ok\r\n"
            "2,1 20110000\r\n>-10 (ERR_TRANS) \r\n"
            "2,1 20110000\r\n>-10 (ERR_TRANS) \r\n"
            "CT_close (CTn: 2)\r\n>CT_close ok\r\n");
  std::remove(path.c_str());
}

TEST(PortLogPath, PortBeforeTheExtension) {
  EXPECT_EQ(cli::PortLogPath("run/KELVAN.LOG", 2), "run/KELVAN-p2.LOG");
  EXPECT_EQ(cli::PortLogPath("a.b/log", 3), "a.b/log-p3");
  EXPECT_EQ(cli::PortLogPath(".log", 1), ".log-p1");
}
