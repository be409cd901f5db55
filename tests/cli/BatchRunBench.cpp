// What a batch run costs beyond the driver: 10,000 commands through libctapi-sim.so as
// `kelvanor-cli run --log` plays them, against a bare loop of the same CT_data calls; and two
// terminals at once against one, on a driver that takes a fixed time for every command.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "cli/BatchRunner.h"
#include "cli/CommandTable.h"
#include "cli/Reports.h"
#include "console/CommandText.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCommands = 10000;

// A course of terminal and card commands, each with the answer it must get.
constexpr const char* kCourse[][2] = {
    {"2,1 20130046", "* 90 00"},   {"2,1 20130080", "?? 90 00"},       {"2,1 20110101", "3B * 90 01"},
    {"2,0 00A4000C023F00", "90 00"}, {"2,0 0084000008", "* 90 00"},
};

std::string CourseText(int commands) {
  std::string text;
  for (int i = 0; i < commands; ++i) {
    const auto& step = kCourse[i % std::size(kCourse)];
    text += "#step " + std::to_string(i) + "\n" + step[0] + "\n> " + step[1] + "\n";
  }
  return text;
}

fs::path WriteTemp(const std::string& name, const std::string& text) {
  const fs::path path = fs::temp_directory_path() / name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

CtDriver SimLibrary() {
  void* library = dlopen(CTAPI_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (!library) throw std::runtime_error(dlerror());
  const auto get = [library](const char* name) { return dlsym(library, name); };
  return {reinterpret_cast<CtInitFn*>(get("CT_init")), reinterpret_cast<CtCloseFn*>(get("CT_close")),
          reinterpret_cast<CtDataFn*>(get("CT_data")), reinterpret_cast<CtVersionFn*>(get("CT_version"))};
}

class Discard final : public cli::CliConsole {
 public:
  void Out(std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
  void Err(std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
  bool ErrIsTerminal() const override { return false; }
};

// The same calls without a runner: the commands parsed beforehand, the answers dropped.
void BareCtDataLoop(benchmark::State& run) {
  const CtDriver driver = SimLibrary();
  struct Parsed {
    CommandAddresses addresses;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Parsed> commands(kCommands);
  for (int i = 0; i < kCommands; ++i)
    ParseCommandText(kCourse[i % std::size(kCourse)][0], commands[i].addresses, commands[i].bytes);
  std::vector<std::uint8_t> response(4096);
  for (auto _ : run) {
    driver.init(1, 1);
    for (Parsed& c : commands) {
      std::uint8_t dad = c.addresses.destination, sad = c.addresses.source;
      unsigned short lenr = static_cast<unsigned short>(response.size());
      driver.data(1, &dad, &sad, static_cast<unsigned short>(c.bytes.size()), c.bytes.data(), &lenr, response.data());
      benchmark::DoNotOptimize(response.data());
    }
    driver.close(1);
  }
  run.SetItemsProcessed(run.iterations() * kCommands);
}

// kelvanor-cli run --driver libctapi-sim.so --log PATH FILE: reading the file, every report for a
// person (discarded), the expectations and the session log.
void BatchRunWithLog(benchmark::State& run) {
  const fs::path file = WriteTemp("kelvanor-bench-course.req", CourseText(kCommands));
  const fs::path log = fs::temp_directory_path() / "kelvanor-bench-run.log";
  const std::string fileText = file.string(), logText = log.string();
  const std::vector<std::string_view> args{"run", "--driver", CTAPI_SIM_LIBRARY, "--log", logText, fileText};
  for (auto _ : run) {
    Discard console;
    if (cli::RunCli(args, console) != cli::kExitOk) run.SkipWithError("the run did not meet its expectations");
  }
  run.SetItemsProcessed(run.iterations() * kCommands);
  fs::remove(file);
  fs::remove(log);
}

// A driver that answers every command after the same time, as a reader on a slow line does,
// without holding a processor meanwhile.
signed char CTAPI_CALL SlowInit(unsigned short, unsigned short) { return 0; }
signed char CTAPI_CALL SlowClose(unsigned short) { return 0; }
signed char CTAPI_CALL SlowData(unsigned short, unsigned char* dad, unsigned char* sad, unsigned short,
                                unsigned char*, unsigned short* lenr, unsigned char* response) {
  std::this_thread::sleep_for(std::chrono::microseconds(500));
  response[0] = 0x90;
  response[1] = 0x00;
  *lenr = 2;
  std::swap(*dad, *sad);
  return 0;
}

constexpr int kSlowCommands = 400;

// The slow driver's calls alone, for what the runner adds to them.
void BareFixedTimeLoop(benchmark::State& run) {
  std::vector<std::uint8_t> command{0x20, 0x13, 0x00, 0x46}, response(4096);
  for (auto _ : run) {
    for (int i = 0; i < kSlowCommands; ++i) {
      std::uint8_t dad = 1, sad = 2;
      unsigned short lenr = static_cast<unsigned short>(response.size());
      SlowData(1, &dad, &sad, static_cast<unsigned short>(command.size()), command.data(), &lenr, response.data());
    }
  }
  run.SetItemsProcessed(run.iterations() * kSlowCommands);
}

// The same file on one terminal, or on two at once, each with its log and a report for a person.
void FixedTimeTerminals(benchmark::State& run) {
  const std::string text = CourseText(kSlowCommands);
  const auto terminals = static_cast<std::size_t>(run.range(0));
  const CtDriver driver{&SlowInit, &SlowClose, &SlowData, nullptr};
  cli::BatchOptions options;
  options.open = [&text](const std::string&, std::string&) {
    auto rest = std::make_shared<std::string>(text);
    return std::optional<RequestFileScanner::ReadBytes>([rest](char* buffer, std::size_t capacity) {
      const std::size_t n = rest->copy(buffer, capacity);
      rest->erase(0, n);
      return n;
    });
  };
  const std::string logPath = (fs::temp_directory_path() / "kelvanor-bench-ports.log").string();
  for (auto _ : run) {
    Discard console;
    cli::SharedOutput out(console);
    std::vector<cli::ReportList> reports(terminals);
    std::vector<cli::TerminalJob> jobs;
    for (std::size_t i = 0; i < terminals; ++i) {
      const auto port = static_cast<std::uint16_t>(i + 1);
      std::string error;
      reports[i].Add(cli::MakePersonReport(out, port, terminals > 1));
      reports[i].Add(cli::MakeLogReport(cli::PortLogPath(logPath, port), error));
      jobs.push_back({{port, port}, {"course.req"}, &reports[i]});
    }
    std::vector<std::string> reasons;
    // Every expectation but "90 00" and "* 90 00" fails on this driver; the time is what counts.
    benchmark::DoNotOptimize(cli::RunBatch(driver, jobs, options, reasons));
  }
  run.SetItemsProcessed(run.iterations() * kSlowCommands * static_cast<std::int64_t>(terminals));
  for (std::size_t i = 0; i < terminals; ++i) fs::remove(cli::PortLogPath(logPath, static_cast<std::uint16_t>(i + 1)));
}

}  // namespace

BENCHMARK(BareCtDataLoop)->Unit(benchmark::kMillisecond)->UseRealTime();
// The run plays on a thread of its own: only the wall clock sees its time.
BENCHMARK(BatchRunWithLog)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BareFixedTimeLoop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FixedTimeTerminals)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
