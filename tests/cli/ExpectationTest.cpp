#include <gtest/gtest.h>

#include "cli/Expectation.h"
#include "cli/RequestSteps.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Expectation, PatternsAgainstAnswers) {
  const struct {
    const char* pattern;
    int rc;
    Bytes answer;
    bool matches;
  } cases[] = {
      {"90 00", 0, {0x90, 0x00}, true},
      {"9000", 0, {0x90, 0x00}, true},
      {" 90 00 ", 0, {0x90, 0x00}, true},
      {"9a 0B", 0, {0x9A, 0x0B}, true},
      {"90 00", 0, {0x90, 0x01}, false},
      {"90 00", 0, {0x01, 0x90, 0x00}, false},
      {"90 00", -8, {}, false},
      {"?? 90 00", 0, {0x05, 0x90, 0x00}, true},
      {"?? 90 00", 0, {0x90, 0x00}, false},
      {"* 90 00", 0, {0x90, 0x00}, true},
      {"* 90 00", 0, {1, 2, 3, 0x90, 0x00}, true},
      {"* 90 00", 0, {0x90, 0x00, 0x90}, false},
      {"3B * 90 01", 0, {0x3B, 0x90, 0x01}, true},
      {"3B * 90 01", 0, {0x3B, 0x68, 0x90, 0x01, 0x90, 0x01}, true},
      {"3B * 90 01", 0, {0x3C, 0x90, 0x01}, false},
      {"3B*9001", 0, {0x3B, 0x00, 0x90, 0x01}, true},
      {"*", 0, {}, true},
      {"* * ??", 0, {}, false},
      {"rc -8", -8, {}, true},
      {"RC -8", -8, {}, true},
      {"rc -8", -10, {}, false},
      {"rc 0", 0, {0x90, 0x00}, true},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto pattern = cli::ParseAnswerPattern(c.pattern, error);
    ASSERT_TRUE(pattern) << c.pattern << ": " << error;
    EXPECT_EQ(cli::Matches(*pattern, c.rc, c.answer), c.matches) << c.pattern;
  }
}

TEST(Expectation, MalformedPatternsSayWhy) {
  const struct {
    const char* pattern;
    const char* why;
  } cases[] = {
      {"", "no answer"},
      {"90 0", "two digits"},
      {"9 000", "two digits"},
      {"90 0G", "two digits"},
      {"? 90", "'?'"},
      {"rc", "return code"},
      {"rc -200", "return code"},
      {"rc x", "return code"},
      {"OK", "'O'"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(cli::ParseAnswerPattern(c.pattern, error)) << c.pattern;
    EXPECT_NE(error.find(c.why), std::string::npos) << c.pattern << ": " << error;
  }
}

std::vector<cli::RequestStep> Steps(std::string_view text, std::string* error = nullptr) {
  cli::RequestStepReader reader(text);
  std::vector<cli::RequestStep> steps;
  cli::RequestStep step;
  while (reader.Next(step)) steps.push_back(step);
  if (error) *error = reader.Error();
  return steps;
}

TEST(RequestSteps, CommandsWithTheirDescriptionsAndAlternatives) {
  const auto steps = Steps(
      "#Reset CT\r\n2,1 20110000\r\n> 90 00\r\n\r\n> rc -8\r\n"
      "2,1 20130046\r\n>  * \\\r\n90 00\r\n#unused\r\n");
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].line, 2u);
  EXPECT_EQ(steps[0].description, "Reset CT");
  EXPECT_EQ(steps[0].expected.Text(), "90 00 | rc -8");
  EXPECT_EQ(steps[1].description, " ");
  EXPECT_EQ(steps[1].line, 6u);
  // A '\' continues the expected answer as it continues a skipped line in the console.
  EXPECT_EQ(steps[1].expected.Text(), "* 90 00");
  EXPECT_TRUE(steps[1].expected.MetBy(0, std::vector<std::uint8_t>{0x44, 0x90, 0x00}));
}

TEST(RequestSteps, FaultsNameTheirLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"2,1 20110000\n> 90 0\n", "line 2: malformed expected answer '> 90 0'"},
      {"> 90 00\n2,1 20110000\n", "line 1: an expected answer before any command"},
      {"2,1 20110000\n#next\n> 90 00\n2,1 20110000\n", "line 3: an expected answer after a description"},
      {"2,1 2011\n", "line 1: Input not complete!"},
      {"#x\n\n2;1 20110000\n", "line 3: Only hex. input allowed!"},
  };
  for (const auto& c : cases) {
    std::string error;
    Steps(c.text, &error);
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave " << error;
  }
}

TEST(RequestSteps, AMegabyteLineComesInPiecesAndKeepsTheLineCount) {
  const auto steps = Steps("#" + std::string(1'000'000, 'x') + "\r\n2,1 20110000\r\n> 90 00\r\n");
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].line, 2u);
  EXPECT_EQ(steps[0].description, std::string(998, 'x'));  // the first piece, as fgets gives it
  // And a line of digits that long is a command the console refuses, not an overrun.
  std::string error;
  Steps(std::string(1'000'000, '2') + "\n", &error);
  EXPECT_EQ(error.rfind("line 1: Command too long!", 0), 0u) << error;
}

}  // namespace
