// Any bytes read as a course of steps: each step ends, a fault names a line, and every expected
// answer matches or not without reading past an answer.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/RequestSteps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  cli::RequestStepReader reader(bytes);
  cli::RequestStep step;
  std::size_t lastLine = 0;
  while (reader.Next(step)) {
    if (step.line <= lastLine || step.command.empty()) std::abort();
    lastLine = step.line;
    // The file's own bytes as an answer: the matcher sees any length and any pattern.
    const auto answer = std::basic_string_view<std::uint8_t>(data, size < 64 ? size : 64);
    (void)step.expected.MetBy(0, std::span<const std::uint8_t>(answer.data(), answer.size()));
  }
  if (!reader.Error().empty() && reader.Error().rfind("line ", 0) != 0) std::abort();
  return 0;
}
