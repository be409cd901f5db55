#include <gtest/gtest.h>

#include "common/IniFile.h"

namespace {

TEST(IniFile, FindsValuesByTheUsualRules) {
  const struct {
    const char* text;
    std::optional<std::string> library;
  } cases[] = {
      {"[Driver]\nLibrary=vendor.dll\n", "vendor.dll"},
      {"[driver]\r\nLIBRARY = vendor.dll \r\n", "vendor.dll"},
      {"  [ Driver ]  \n\tlibrary\t=\tC:\\Program Files\\V\\ct.dll\t\n", "C:\\Program Files\\V\\ct.dll"},
      {"\xEF\xBB\xBF[Driver]\nLibrary=bom.dll\n", "bom.dll"},
      {"[Driver]\nLibrary=\"C:\\with space\\ct.dll\"\n", "C:\\with space\\ct.dll"},
      {"[Driver]\nLibrary=\"unbalanced.dll\n", "\"unbalanced.dll"},
      {"[Driver]\nLibrary=first.dll\nLibrary=second.dll\n", "first.dll"},
      {"[Driver]\n;Library=commented.dll\n# Library=also.dll\nLibrary=real.dll", "real.dll"},
      {"[Driver]\nLibrary=name ; not a comment\n", "name ; not a comment"},
      {"[Driver]\nLibrary=a=b.dll\n", "a=b.dll"},
      {"[Driver]\nLibrary=\n", ""},
      {"[Other]\nLibrary=other.dll\n[Driver]\nPort=1\n", std::nullopt},
      {"Library=before-any-section.dll\n[Driver]\n", std::nullopt},
      {"[Driver\nLibrary=unclosed-header.dll\n", std::nullopt},
      {"[Driver]\n[Next]\nLibrary=next.dll\n", std::nullopt},
      {"[Driver]\nLibrary vendor.dll\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ini::IniFile(c.text).Value("Driver", "Library"), c.library) << c.text;
}

}  // namespace
