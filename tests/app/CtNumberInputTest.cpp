#include <gtest/gtest.h>

#include "app/CtNumberInput.h"

TEST(ParseCtNumber, AcceptedNumbers) {
  const struct {
    const char* text;
    std::uint16_t value;
  } cases[] = {
      {"0", 0},    {"7", 7},     {"65535", 65535},  {"00012", 12}, {" 12", 12},
      {"+12", 12}, {"12ab", 12}, {"123456", 12345},  // only the five characters the field holds count
  };
  for (const auto& c : cases) {
    const auto value = ParseCtNumber(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.value) << c.text;
  }
}

TEST(ParseCtNumber, RefusedTexts) {
  for (const char* text : {"65536", "99999", "", "   ", "abc", "-1", "-", "+", "+-5"})
    EXPECT_FALSE(ParseCtNumber(text).has_value()) << '"' << text << '"';
}
