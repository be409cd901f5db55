#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/RequestFile.h"

namespace {

struct Loaded {
  std::vector<std::string> commands;
  std::vector<std::string> descriptions;
  bool complete = true;
};

Loaded Load(std::string_view bytes) {
  CommandLists lists;
  Loaded result;
  result.complete = LoadRequestText(bytes, lists);
  result.commands.assign(lists.commands.begin(), lists.commands.begin() + lists.commandCount);
  result.descriptions.assign(lists.descriptions.begin(), lists.descriptions.begin() + lists.descriptionCount);
  return result;
}

using Texts = std::vector<std::string>;

}  // namespace

TEST(RequestFileReader, LinesByTheirFirstCharacter) {
  const std::string longCommand = "1" + std::string(998, 'a');
  const struct {
    const char* name;
    std::string bytes;
    Texts commands;
    Texts descriptions;
  } cases[] = {
      {"empty file", "", {}, {}},
      {"only descriptions, skipped and ignored lines", "#lonely\r\n>skip\r\n ignored\r\n\r\nx\r\n", {}, {}},
      {"description then command", "#Reset CT\r\n2,1 2010000000\r\n", {"2,1 2010000000"}, {"Reset CT"}},
      {"blank after # stays", "# Reset CT\n2,1 20\n", {"2,1 20"}, {" Reset CT"}},
      {"display forms lose their prefix",
       "#0003 : Reset\r\n0003 : 2,1 2010000000\r\n",
       {"2,1 2010000000"},
       {"Reset"}},
      {"second of two commands gets a blank", "#a\n2,1 20\n2,1 21\n", {"2,1 20", "2,1 21"}, {"a", " "}},
      {"last of two descriptions counts", "#first\n#second\n2,1 20\n", {"2,1 20"}, {"second"}},
      {"skipped and ignored lines keep the pairing", "#d\n>x\n y\n2,1 20\n", {"2,1 20"}, {"d"}},
      {"continuation takes a # line", "2,1 20\\\n#10\n", {"2,1 20#10"}, {" "}},
      {"continuation takes a > line", "2,1 20\\ dropped\n>11\\\n12\n", {"2,1 20>1112"}, {" "}},
      {"continuation loses a display prefix", "1,2 3\\\n0001 : 44\n", {"1,2 344"}, {" "}},
      {"continuation at the end of the file", "2,1 20\\", {"2,1 20"}, {" "}},
      {"skipped line continued by \\", ">a\\\n2,1 skipped too\n2,1 taken\n", {"2,1 taken"}, {" "}},
      {"blank then digit is ignored", " 2,1 20\n", {}, {}},
      {"no final line end", "#d\n2,1 20", {"2,1 20"}, {"d"}},
      {"CR without LF is an ordinary character", "2,1 20\r#x\r\n", {"2,1 20\r#x"}, {" "}},
      {"colon in a text shorter than the prefix", "#ab:\n1:x\n", {""}, {""}},
      {"NUL shows as a blank and ends nothing",
       std::string("2,1 20\0 30\n4\n", 12),
       {"2,1 20  30", "4"},
       {" ", " "}},
      {"a line longer than 999 comes in pieces",
       longCommand + "#rest\n2\n",
       {longCommand, "2"},
       {" ", "rest"}},
      {"999 characters and a line feed leave an empty piece",
       longCommand + "\n3\n",
       {longCommand, "3"},
       {" ", " "}},
  };
  for (const auto& c : cases) {
    const Loaded loaded = Load(c.bytes);
    EXPECT_TRUE(loaded.complete) << c.name;
    EXPECT_EQ(loaded.commands, c.commands) << c.name;
    EXPECT_EQ(loaded.descriptions, c.descriptions) << c.name;
  }
}

TEST(RequestFileReader, AHundredthCommandLineEndsTheLoad) {
  std::string bytes;
  for (int i = 0; i < 150; ++i) bytes += "#d" + std::to_string(i) + "\r\n2,1 " + std::to_string(i) + "\r\n";
  const Loaded full = Load(bytes);
  EXPECT_FALSE(full.complete);
  ASSERT_EQ(full.commands.size(), 99u);
  ASSERT_EQ(full.descriptions.size(), 100u);
  EXPECT_EQ(full.commands[98], "2,1 98");
  EXPECT_EQ(full.descriptions[99], "d99") << "the refused command's description is counted";

  std::string exact;
  for (int i = 0; i < 99; ++i) exact += "2,1 " + std::to_string(i) + "\n";
  const Loaded fits = Load(exact);
  EXPECT_TRUE(fits.complete);
  EXPECT_EQ(fits.commands.size(), 99u);
  EXPECT_EQ(fits.descriptions.size(), 99u);
}

TEST(RequestFileReader, ALoadEmptiesWhatAnEarlierOneLeft) {
  CommandLists lists;
  ASSERT_TRUE(LoadRequestText("#old\n2,1 old\n2,1 older\n", lists));
  lists.commandSelection = 1;
  ASSERT_TRUE(LoadRequestText("2,1 new\n", lists));
  EXPECT_EQ(lists.commandCount, 1);
  EXPECT_EQ(lists.commandSelection, 0);
  EXPECT_EQ(lists.commands[1], "");
  EXPECT_EQ(lists.descriptions[0], " ");
}
