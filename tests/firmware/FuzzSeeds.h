#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/firmware/CardScript.h"

namespace halvextest {

// The fuzzer's seed corpus: the documented happy paths and each documented failure, with the
// result every call must give. The files in corpus/halvex_check_fuzz are these, encoded.
struct FuzzSeed {
  std::string name;
  CardScript script;
  std::vector<int32_t> results;
};

std::vector<FuzzSeed> FuzzSeeds();

}  // namespace halvextest
