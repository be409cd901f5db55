// The whole check against a simulated machine that the input scripts completely: what the card
// says at every register read, its blocks, when it vanishes, the clock and the message queue.
// Any outcome the library does not document stops the run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/firmware/CardScript.h"
#include "tests/firmware/ScriptedCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const halvextest::CheckOutcome outcome =
      halvextest::RunCardScript(halvextest::DecodeCardScript(data, size));
  if (outcome.violations.empty()) return 0;
  for (const auto& v : outcome.violations) std::fprintf(stderr, "%s\n", v.c_str());
  std::abort();
}
