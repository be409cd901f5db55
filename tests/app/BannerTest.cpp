#include <gtest/gtest.h>

#include "app/Banner.h"

TEST(BannerLines, ShowTheDriverVersion) {
  const auto lines = BannerLines("2.4.1");
  EXPECT_EQ(lines[0], "Tovamic Test Program  V1.67-W32");
  EXPECT_EQ(lines[1], "Tovamic DLL 2.4.1");
  EXPECT_FALSE(lines[2].empty());
  EXPECT_EQ(BannerLines("")[1], "Tovamic DLL ");
}

TEST(BannerLines, VersionLineFitsItsBuffer) {
  const auto lines = BannerLines(std::string(120, 'V'));
  EXPECT_EQ(lines[1], "Tovamic DLL " + std::string(107, 'V'));
}
