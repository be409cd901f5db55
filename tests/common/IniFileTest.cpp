#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

// For readers that report faults by line: every line that is not blank or a comment, numbered.
TEST(IniLines, NumberedAsInTheFileWithTheirKind) {
  using Kind = ini::IniLine::Kind;
  const auto lines = ini::ReadIniLines(
      "\xEF\xBB\xBF; comment\r\n\r\n [ EF 3F00 ] \r\nSize = \"12\" \r\nno equals\n[open\nK=\n");
  ASSERT_EQ(lines.size(), 5u);
  const struct {
    Kind kind;
    std::size_t number;
    std::string_view name, value;
  } expected[] = {
      {Kind::Section, 3, "EF 3F00", ""},
      {Kind::Entry, 4, "Size", "12"},
      {Kind::Malformed, 5, "no equals", ""},
      {Kind::Malformed, 6, "[open", ""},
      {Kind::Entry, 7, "K", ""},
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].kind, expected[i].kind) << i;
    EXPECT_EQ(lines[i].number, expected[i].number) << i;
    EXPECT_EQ(lines[i].name, expected[i].name) << i;
    EXPECT_EQ(lines[i].value, expected[i].value) << i;
  }
}

// Every byte as stored: CR LF, NUL and bytes above 0x7F, and files longer than one read.
TEST(ReadTextFile, GivesTheFileAsStored) {
  using namespace std::string_literals;
  const auto folder = std::filesystem::temp_directory_path() / "kelvanor-read-text-file";
  std::filesystem::create_directories(folder);
  std::string large;
  for (int i = 0; i < 10000; ++i) large += "line " + std::to_string(i) + "\r\n";
  const std::string contents[] = {"", "[Driver]\r\nLibrary=a\0b\xFF\x1A\r\n"s, large};
  for (const std::string& bytes : contents) {
    std::ofstream(folder / "file.ini", std::ios::binary) << bytes;
    EXPECT_EQ(ini::ReadTextFile((folder / "file.ini").string()), bytes) << bytes.size() << " bytes";
  }
  EXPECT_EQ(ini::ReadTextFile((folder / "missing.ini").string()), std::nullopt);
  EXPECT_EQ(ini::ReadTextFile(folder.string()), std::nullopt) << "a folder is no file";
  std::filesystem::remove_all(folder);
}

}  // namespace
