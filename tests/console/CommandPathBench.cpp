// What one typed command costs in the program's own code: choose and parse the text, call a
// driver that answers at once, format the answer in hex and ASCII, write both log lines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "console/CommandText.h"
#include "console/ConsoleExchange.h"
#include "session/SessionLog.h"

namespace {

std::vector<std::uint8_t> answer;

signed char CTAPI_CALL AnswerAtOnce(unsigned short, unsigned char* dad, unsigned char* sad, unsigned short,
                                    unsigned char*, unsigned short* lenr, unsigned char* response) {
  std::memcpy(response, answer.data(), answer.size());
  *lenr = static_cast<unsigned short>(answer.size());
  *dad = 2;
  *sad = 1;
  return 0;
}

struct NewLogOnly : LogQuestions {
  bool AskContinueExisting() override { return false; }
  void ReportOpenError(const std::string&) override {}
};

void TypedCommand(benchmark::State& run) {
  answer.assign(static_cast<std::size_t>(run.range(0)), 0x41);
  const CtDriver driver{nullptr, nullptr, &AnswerAtOnce, nullptr};
  const auto path = std::filesystem::temp_directory_path() / "kelvanor-bench.log";
  SessionLog log;
  log.SetPath(path.string());
  NewLogOnly questions;
  if (run.range(1)) log.StartOrClose(questions);  // else Write returns at once, as with logging off

  ConsoleState state;
  CommandLists lists;
  const std::string field = "0003 : 2,1 20110000";
  std::vector<std::uint8_t> bytes;
  for (auto _ : run) {
    const std::string text(CommandToSend(true, field, lists));
    ParseCommandText(text, state.addresses, bytes);
    state.displayMode = DisplayMode::Hex;
    SendConsoleCommand(state, driver, 0, bytes);  // formats in hex
    state.displayMode = DisplayMode::Ascii;
    RebuildResponseTexts(state);
    log.Write(field + "\n");
    log.Write(state.logText);
    benchmark::DoNotOptimize(state.displayText.data());
  }
  log.Close();
  std::filesystem::remove(path);
}

}  // namespace

// Response bytes, log on (1) or off (0).
BENCHMARK(TypedCommand)->ArgNames({"bytes", "log"})->ArgsProduct({{2, 4096}, {0, 1}});
BENCHMARK_MAIN();
