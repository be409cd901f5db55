#include <gtest/gtest.h>

#include "ctapi/ReturnCodeText.h"

TEST(ReturnCodeText, TableCodesGiveTheirTextWithTrailingBlank) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {-1, "-1 (ERR_INVALID) "},  {-8, "-8 (ERR_CT) "},       {-10, "-10 (ERR_TRANS) "},
      {-11, "-11 (ERR_MEMORY) "}, {-128, "-128 (ERR_HTSI) "},
  };
  for (const auto& c : cases) {
    const auto text = ReturnCodeText(c.code);
    ASSERT_TRUE(text.has_value()) << c.code;
    EXPECT_EQ(*text, c.text);
  }
}

TEST(ReturnCodeText, OtherCodesHaveNoText) {
  for (int code : {-127, -2, -9, -12, 0, 1, 127}) EXPECT_FALSE(ReturnCodeText(code).has_value()) << code;
}

TEST(ReturnCodeText, ZeroAndPositiveCodesAreSuccess) {
  EXPECT_TRUE(IsCtSuccess(0));
  EXPECT_TRUE(IsCtSuccess(1));
  EXPECT_TRUE(IsCtSuccess(127));
  EXPECT_FALSE(IsCtSuccess(-1));
  EXPECT_FALSE(IsCtSuccess(-128));
}

TEST(DriverErrorText, TableTextOrTheCallersPrefixWithTheCode) {
  EXPECT_EQ(DriverErrorText(-8, "Error CT_init RC-code = "), "-8 (ERR_CT) ");
  EXPECT_EQ(DriverErrorText(-5, "Error CT_init RC-code = "), "Error CT_init RC-code = -5");
  EXPECT_EQ(DriverErrorText(-127, "Error CT_close RC-Code = "), "Error CT_close RC-Code = -127");
}
