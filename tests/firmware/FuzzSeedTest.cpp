#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/firmware/CardScript.h"
#include "tests/firmware/FuzzSeeds.h"
#include "tests/firmware/ScriptedCheck.h"

using halvextest::FuzzSeeds;

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(FuzzSeedTest, EverySeedGivesItsDocumentedResultWithoutViolations) {
  for (const auto& seed : FuzzSeeds()) {
    SCOPED_TRACE(seed.name);
    const std::vector<uint8_t> bytes = halvextest::EncodeCardScript(seed.script);
    const auto outcome = halvextest::RunCardScript(halvextest::DecodeCardScript(bytes.data(), bytes.size()));
    EXPECT_EQ(outcome.results, seed.results);
    EXPECT_EQ(outcome.violations, std::vector<std::string>{});
    if (seed.script.quit) {
      EXPECT_EQ(outcome.repostedQuits, std::vector<int>{seed.script.quitExitCode});
    }
  }
}

TEST(FuzzSeedTest, CorpusInTheTreeIsTheCurrentEncoding) {
  for (const auto& seed : FuzzSeeds()) {
    SCOPED_TRACE(seed.name);
    EXPECT_EQ(ReadFile(std::string(HALVEX_SEED_CORPUS) + "/" + seed.name),
              halvextest::EncodeCardScript(seed.script))
        << "rewrite the corpus with halvex_fuzz_seeds " << HALVEX_SEED_CORPUS;
  }
}

}  // namespace
