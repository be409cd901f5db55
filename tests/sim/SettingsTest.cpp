// ZEMTRAK.INI: every key, the INI reading rules, and defaults for whatever is missing or bad.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/IniFile.h"
#include "sim/zemtrak/Settings.h"

namespace {

using namespace std::chrono_literals;

TEST(Settings, EmptyOrMalformedTextGivesTheDefaults) {
  const sim::Settings defaults;
  EXPECT_TRUE(defaults.cardInserted);
  EXPECT_EQ(defaults.cardType, sim::CardType::Processor);
  EXPECT_EQ(defaults.port, 1);
  EXPECT_EQ(defaults.manufacturer.size(), 15u);
  EXPECT_FALSE(defaults.statusObjects);
  EXPECT_FALSE(defaults.automation.insertAfter);
  for (const char* text : {"", "garbage\n\n[[[\n=\n",
                           "[Card]\nInserted=yes\nType=memory\nInsertAfterMs=-5\n"
                           "RemoveAfterMs=12x\n[Terminal]\nPort=70000\nPort2=3\n"
                           "StatusObjects=2\nManufacturer=\n[Window]\nShow=off\n"}) {
    EXPECT_EQ(sim::ParseSettings(text), defaults) << text;
  }
}

TEST(Settings, EveryKeyWithIniRules) {
  const char* text =
      "; comment\r\n"
      " [ CARD ] \r\n"
      "inserted = 0\r\n"
      "Type=SYNC\r\n"
      "Type=async\r\n"  // the first one counts
      "InsertAfterMs=250\r\n"
      "RemoveAfterMs=0\r\n"
      "[Terminal]\r\n"
      "Port=4\r\n"
      "Manufacturer=\"DEXYZ\tAB\"\r\n"
      "StatusObjects=1\r\n"
      "Color=blue\r\n"
      "[Window]\r\n"
      "Show=0";
  const sim::Settings s = sim::ParseSettings(text);
  EXPECT_FALSE(s.cardInserted);
  EXPECT_EQ(s.cardType, sim::CardType::Memory);
  EXPECT_EQ(s.automation.insertAfter, 250ms);
  EXPECT_EQ(s.automation.removeAfter, 0ms);
  EXPECT_EQ(s.port, 4);
  EXPECT_EQ(s.manufacturer, "DEXYZ AB       ") << "unprintable characters blank, padded to 15";
  EXPECT_TRUE(s.statusObjects);
  EXPECT_FALSE(s.window);
}

TEST(Settings, LongManufacturerIsCut) {
  EXPECT_EQ(sim::ParseSettings("[Terminal]\nManufacturer=ABCDEFGHIJKLMNOPQRST\n").manufacturer,
            "ABCDEFGHIJKLMNO");
}

TEST(Settings, FileReading) {
  const auto path = std::filesystem::temp_directory_path() / "kelvanor-settings-test.ini";
  EXPECT_FALSE(ini::ReadTextFile((path / "missing").string()));
  std::ofstream(path) << "[Terminal]\nPort=9\n";
  const auto text = ini::ReadTextFile(path.string());
  ASSERT_TRUE(text);
  EXPECT_EQ(sim::ParseSettings(*text).port, 9);
  std::filesystem::remove(path);
}

TEST(Settings, CardFilesAreAListSeparatedBySemicolons) {
  EXPECT_TRUE(sim::Settings{}.cardFiles.empty());
  EXPECT_EQ(sim::ParseSettings("[Card]\nFile= cards\\one.card ;C:\\two.card;; \n").cardFiles,
            (std::vector<std::string>{"cards\\one.card", "C:\\two.card"}));
  EXPECT_TRUE(sim::ParseSettings("[Card]\nFile=\n").cardFiles.empty());
}

}  // namespace
