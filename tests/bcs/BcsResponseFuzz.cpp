// Whatever a terminal answers, judging it reads only the answer and gives a result line.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "bcs/StatusEvaluation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Heap-sized to the answer, so ASan sees any read beyond it.
  const std::vector<std::uint8_t> response(data, data + std::min<std::size_t>(size, 2048));
  for (const BcsOperation* operation :
       {&kResetCt, &kResetIcc, &kRequestIcc, &kEjectIcc, &kIccStatus, &kCtInfo}) {
    const Outcome outcome = EvaluateResponse(*operation, response);
    if (outcome.result.empty() || outcome.result[0] != '>') __builtin_trap();
    if (outcome.result.size() > 3100) __builtin_trap();
  }
  return 0;
}
