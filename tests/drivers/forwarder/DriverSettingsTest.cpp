#include <gtest/gtest.h>

#include "drivers/forwarder/DriverSettings.h"

namespace forwarder {
namespace {

TEST(DriverSettings, LibraryOrWhyNot) {
  using Result = std::variant<std::string, SettingsFault>;
  const struct {
    std::string text;
    Result expected;
  } cases[] = {
      {"[Driver]\r\nLibrary=ctapi32.dll\r\n", std::string("ctapi32.dll")},
      {"", SettingsFault::NoLibrary},
      {"[Driver]\nLibrary=\n", SettingsFault::NoLibrary},
      {"just some words\nwithout = a section\n", SettingsFault::NoLibrary},
      {std::string("\x7f"
                   "ELF\x02\x01\x01\0\0\0[Driver]\n",
                   17),
       SettingsFault::NoLibrary},
      {std::string("[Driver]\nLibrary=vendor\0.dll\n", 29), SettingsFault::BadLibrary},
      {"[Driver]\nLibrary=ven\x1b"
       "dor.dll\n",
       SettingsFault::BadLibrary},
      {"[Driver]\nLibrary=" + std::string(kMaxLibraryName, 'a') + "\n", std::string(kMaxLibraryName, 'a')},
      {"[Driver]\nLibrary=" + std::string(kMaxLibraryName + 1, 'a') + "\n", SettingsFault::BadLibrary},
  };
  for (const auto& c : cases) EXPECT_EQ(LibraryFromSettings(c.text), c.expected) << c.text;
}

TEST(DriverSettings, RelativePathsStartBesideTheSettingsFile) {
  const struct {
    const char* library;
    const char* settings;
    const char* load;
  } cases[] = {
      {"vendor.dll", "C:\\kelvanor\\ZEMTRAK.INI", "vendor.dll"},  // left to the library search
      {"drivers\\vendor.dll", "C:\\kelvanor\\ZEMTRAK.INI", "C:\\kelvanor\\drivers\\vendor.dll"},
      {"..\\vendor.dll", "C:\\kelvanor\\ZEMTRAK.INI", "C:\\kelvanor\\..\\vendor.dll"},
      {"drivers/vendor.dll", "ZEMTRAK.INI", "drivers/vendor.dll"},
      {"D:\\vendor\\ct.dll", "C:\\kelvanor\\ZEMTRAK.INI", "D:\\vendor\\ct.dll"},
      {"d:ct.dll", "C:\\kelvanor\\ZEMTRAK.INI", "d:ct.dll"},
      {"\\\\server\\share\\ct.dll", "C:\\kelvanor\\ZEMTRAK.INI", "\\\\server\\share\\ct.dll"},
      {"/usr/lib/ct.dll", "C:\\kelvanor\\ZEMTRAK.INI", "/usr/lib/ct.dll"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveLibrary(c.library, c.settings), c.load) << c.library;
}

TEST(DriverSettings, ExportNamesPlainFirstThenStdcallDecorations) {
  EXPECT_EQ(ExportNames("CT_data", 28, false), (std::vector<std::string>{"CT_data"}));
  EXPECT_EQ(ExportNames("CT_data", 28, true),
            (std::vector<std::string>{"CT_data", "_CT_data@28", "CT_data@28"}));
}

}  // namespace
}  // namespace forwarder
