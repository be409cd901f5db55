#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/CommandText.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ParseCase {
  std::string text;
  CommandTextVerdict verdict;
  Bytes bytes;
  CommandAddresses addresses;  // after the call; starts at 7, 7
};

}  // namespace

TEST(ParseCommandText, CommandTexts) {
  const ParseCase cases[] = {
      {"2,1 2010000000", CommandTextVerdict::Accepted, {0x20, 0x10, 0, 0, 0}, {2, 1}},
      {"2,1    2010000000", CommandTextVerdict::Accepted, {0x20, 0x10, 0, 0, 0}, {2, 1}},
      {"2,1 20 10 00 00 00", CommandTextVerdict::Accepted, {0x20}, {2, 1}},
      {"2,1 201000000", CommandTextVerdict::Accepted, {0x20, 0x10, 0, 0}, {2, 1}},
      {"2,1 20100", CommandTextVerdict::Incomplete, {}, {7, 7}},
      {"", CommandTextVerdict::Incomplete, {}, {7, 7}},
      {"2;1 2010000000", CommandTextVerdict::NotHex, {}, {7, 7}},
      {"2,1 2010000000\r", CommandTextVerdict::NotHex, {}, {7, 7}},
      {"2,1 2010000000 zz", CommandTextVerdict::NotHex, {}, {7, 7}},
      {"2,1 AbCdEf0000", CommandTextVerdict::Accepted, {0xAB, 0xCD, 0xEF, 0, 0}, {2, 1}},
      // Accepted without command bytes: CT_data then goes out with none.
      {"2,1       ,,,", CommandTextVerdict::Accepted, {}, {2, 1}},
      // The separator is any permitted character.
      {"2 1 2010000000", CommandTextVerdict::Accepted, {0x20, 0x10, 0, 0, 0}, {2, 1}},
      // What follows a line feed is checked but not read.
      {"2,1 2010\n00 00", CommandTextVerdict::Accepted, {0x20, 0x10}, {2, 1}},
      {"2,1 2010\n00 0x", CommandTextVerdict::NotHex, {}, {7, 7}},
      // A line feed among the first characters: nothing is read beyond it.
      {"2\n345678901234", CommandTextVerdict::Accepted, {}, {2, 7}},
      {"\n2,1 20100000", CommandTextVerdict::Accepted, {}, {7, 7}},
      // No address to read: both keep their values.
      {",,,, 20100000", CommandTextVerdict::Accepted, {0x20, 0x10, 0, 0}, {7, 7}},
      // Only the low 8 bits of an address count.
      {"2,123 20100000", CommandTextVerdict::Accepted, {}, {2, 0x23}},
      // A two-digit address: the bytes still start after the 4th character.
      {"2,12 20100000", CommandTextVerdict::Accepted, {0x20, 0x10, 0, 0}, {2, 0x12}},
  };
  for (const ParseCase& c : cases) {
    CommandAddresses addresses{7, 7};
    Bytes bytes{0xEE};
    EXPECT_EQ(ParseCommandText(c.text, addresses, bytes), c.verdict) << c.text;
    EXPECT_EQ(addresses.source, c.addresses.source) << c.text;
    EXPECT_EQ(addresses.destination, c.addresses.destination) << c.text;
    if (c.verdict == CommandTextVerdict::Accepted)
      EXPECT_EQ(bytes, c.bytes) << c.text;
    else
      EXPECT_EQ(bytes, Bytes{0xEE}) << "a refused text leaves the command alone: " << c.text;
  }
}

TEST(ParseCommandText, LimitsOfTextAndCommand) {
  const std::string prefix = "2,1 ";
  const struct {
    std::string text;
    CommandTextVerdict verdict;
    std::size_t bytes;
  } cases[] = {
      {prefix + std::string(600, 'a'), CommandTextVerdict::Accepted, 300},
      {prefix + std::string(601, 'a'), CommandTextVerdict::TooLong, 0},  // the odd digit needs byte 301
      {prefix + std::string(602, 'a'), CommandTextVerdict::TooLong, 0},
      {prefix + std::string(999 - 4, ' '), CommandTextVerdict::Accepted, 0},
      {prefix + std::string(1000 - 4, ' '), CommandTextVerdict::TooLong, 0},
      {prefix + std::string(5000, 'x'), CommandTextVerdict::TooLong, 0},
      // Digits past the first blank are not sent, so they do not count.
      {prefix + "20 " + std::string(900, '0'), CommandTextVerdict::Accepted, 1},
  };
  for (const auto& c : cases) {
    CommandAddresses addresses;
    Bytes bytes;
    EXPECT_EQ(ParseCommandText(c.text, addresses, bytes), c.verdict) << c.text.size();
    EXPECT_EQ(bytes.size(), c.bytes) << c.text.size();
  }
  EXPECT_STREQ(RefusalText(CommandTextVerdict::Incomplete), "Input not complete!");
  EXPECT_STREQ(RefusalText(CommandTextVerdict::NotHex), "Only hex. input allowed!");
  EXPECT_STRNE(RefusalText(CommandTextVerdict::TooLong), "");
}

TEST(CommandToSend, TypedTextLosesTheDisplayPrefix) {
  CommandLists lists;
  const struct {
    std::string typed;
    std::string sent;
  } cases[] = {
      {"0003 : 2,1 2010000000", "2,1 2010000000"},
      {"2,1 2010000000", "2,1 2010000000"},
      {"0003 :", ""},
      {"0003 : ", ""},
      {"a:b:c", ":c"},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandToSend(true, c.typed, lists), c.sent) << c.typed;
}

TEST(CommandToSend, ListEntryOnlyWithinTheCount) {
  CommandLists lists;
  lists.commands[0] = "2,1 20110000";
  lists.commands[1] = "2,1 2010000000";  // a slot left by an earlier console
  lists.commandCount = 1;
  EXPECT_EQ(CommandToSend(false, "typed", lists), "2,1 20110000");
  for (std::int16_t selection : {1, 99, 100, -1}) {
    lists.commandSelection = selection;
    EXPECT_EQ(CommandToSend(false, "typed", lists), "") << selection;
  }
  lists.commandCount = 0;
  lists.commandSelection = 0;
  EXPECT_EQ(CommandToSend(false, "typed", lists), "");
}
