#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/firmware/CardScript.h"

namespace halvextest {

struct CheckOutcome {
  std::vector<int32_t> results;  // one per call
  std::vector<int> repostedQuits;
  std::vector<std::string> violations;
};

// Builds the machine a script describes and runs the firmware check on it as often as the script
// says, with one library state throughout, checking everything the check does there.
CheckOutcome RunCardScript(const CardScript& script);

}  // namespace halvextest
