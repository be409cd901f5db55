// Loading a large request file: 10 MB of long command lines with continuations, descriptions and
// many skipped and ignored lines, read from disk and classified as OpenFile does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "console/RequestFile.h"

namespace {

std::string TenMegabytes() {
  std::string text;
  const std::string longCommand =
      "2,1 " + std::string(2400, 'A') + "\\\r\n" + std::string(1800, 'b') + "\r\n";
  while (text.size() < 10'000'000) {
    text += "#A description of the next command\r\n";
    for (int i = 0; i < 40; ++i) text += "> a skipped line of the kind a long session log leaves behind\r\n";
    text += " an ignored line\r\n";
    text += longCommand;
  }
  return text;
}

void LoadTenMegabyteFile(benchmark::State& state) {
  const auto path = std::filesystem::temp_directory_path() / "kelvanor-bench-10mb.req";
  const std::string text = TenMegabytes();
  std::ofstream(path, std::ios::binary) << text;
  CommandLists lists;
  for (auto _ : state) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    benchmark::DoNotOptimize(LoadRequestText(bytes, lists));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  std::filesystem::remove(path);
}
BENCHMARK(LoadTenMegabyteFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
