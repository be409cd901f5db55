// startup_bench ROUNDS BASELINE PROGRAM...
// Starts the programs in turn, ROUNDS times each, and times every start from CreateProcess until
// the program's message loop waits for input (WaitForInputIdle) with a visible top-level window.
// Each program is closed with WM_CLOSE before the next start, so they never compete.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND VisibleWindowOf(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The start-up time in seconds, or a negative value if the program did not come up.
double TimeOneStart(const std::string& program) {
  std::string directory = program.substr(0, program.find_last_of("\\/") + 1);
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER begin, end;
  QueryPerformanceCounter(&begin);
  const auto start = [&] {
    return CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &process);
  };
  // Wine now and then refuses one start (error 1359) while the last program's process winds down:
  // one more try, timed from the first, rather than losing the whole measurement.
  if (!start() && !start()) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
    return -1;
  }
  HWND window = nullptr;
  if (WaitForInputIdle(process.hProcess, 30000) == 0) {
    for (int i = 0; i < 30000 && !(window = VisibleWindowOf(process.dwProcessId)); ++i) Sleep(1);
  }
  QueryPerformanceCounter(&end);
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (!window || WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "%s did not come up or did not close\n", program.c_str());
    TerminateProcess(process.hProcess, 99);
    window = nullptr;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return window ? Seconds(begin, end) : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Report(const char* name, const std::vector<double>& times) {
  const double mean = std::accumulate(times.begin(), times.end(), 0.0) / static_cast<double>(times.size());
  std::printf("%-40s median %7.1f ms  mean %7.1f ms  min %7.1f ms  max %7.1f ms\n", name,
              Median(times) * 1000, mean * 1000, *std::min_element(times.begin(), times.end()) * 1000,
              *std::max_element(times.begin(), times.end()) * 1000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: startup_bench ROUNDS BASELINE PROGRAM...\n");
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const std::vector<std::string> programs(argv + 2, argv + argc);
  std::vector<std::vector<double>> times(programs.size());
  // One unmeasured start each loads the files into the cache and Wine's services into memory.
  for (const auto& program : programs) {
    if (TimeOneStart(program) < 0) return 1;
  }
  for (int round = 0; round < rounds; ++round) {
    for (size_t i = 0; i < programs.size(); ++i) {
      const double t = TimeOneStart(programs[i]);
      if (t < 0) return 1;
      times[i].push_back(t);
    }
  }
  for (size_t i = 0; i < programs.size(); ++i) Report(programs[i].c_str(), times[i]);
  for (size_t i = 1; i < programs.size(); ++i) {
    std::printf("%s / baseline: ratio of medians %.2f, of means %.2f (%d rounds)\n", programs[i].c_str(),
                Median(times[i]) / Median(times[0]),
                std::accumulate(times[i].begin(), times[i].end(), 0.0) /
                    std::accumulate(times[0].begin(), times[0].end(), 0.0),
                rounds);
  }
  return 0;
}
