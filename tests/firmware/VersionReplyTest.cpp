#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "firmware/T1Blocks.h"
#include "firmware/VersionReply.h"

using halvex::FindVersionText;
using halvex::VersionNumber;
using halvex::VersionText;

namespace {

std::optional<std::string> TextOf(const std::vector<uint8_t>& reply) {
  // An exactly sized copy, so reading one byte too far trips the sanitizer.
  const auto text = FindVersionText(reply.data(), reply.size());
  if (!text) return std::nullopt;
  EXPECT_EQ(text->chars[text->length], '\0');
  return std::string(text->chars, text->length);
}

VersionText Text(const std::string& s) {
  VersionText t;
  t.length = s.size();
  s.copy(t.chars, s.size());
  return t;
}

TEST(T1BlocksTest, BlocksCarryTheirComputedLrc) {
  uint8_t select[halvex::SelectBlockLength];
  uint8_t read[halvex::ReadBlockLength];
  ASSERT_EQ(halvex::BuildSelectBlock(select), 11);
  ASSERT_EQ(halvex::BuildReadBlock(read), 9);
  EXPECT_EQ(std::vector<uint8_t>(select, select + 11),
            (std::vector<uint8_t>{0x12, 0x00, 0x07, 0x00, 0xA4, 0x00, 0x00, 0x02, 0x00, 0x20, 0x93}));
  EXPECT_EQ(std::vector<uint8_t>(read, read + 9),
            (std::vector<uint8_t>{0x12, 0x00, 0x05, 0x00, 0xB0, 0x00, 0x00, 0x00, 0xA7}));
}

TEST(FindVersionTextTest, WalksElementsWithinWhatArrived) {
  struct Case {
    const char* name;
    std::vector<uint8_t> reply;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {"plain", {0x12, 0x00, 0x08, 0x0F, 0x04, '2', '.', '2', '8', 0x90, 0x00, 0x00}, "228"},
      {"after an element",
       {0x12, 0x00, 0x0D, 0x01, 0x03, 1, 2, 3, 0x0F, 0x04, '2', '.', '2', '8', 0x90, 0x00},
       "228"},
      {"shorter than a prologue", {0x12, 0x00}, std::nullopt},
      {"LEN of 3 or less has no elements", {0x12, 0x00, 0x03, 0x0F, 0x01, '9'}, std::nullopt},
      {"no version tag", {0x12, 0x00, 0x06, 0x01, 0x01, 0x00, 0x90, 0x00}, std::nullopt},
      // the walk only looks at positions below LEN
      {"element starting at LEN", {0x12, 0x00, 0x05, 0x01, 0x00, 0x0F, 0x01, '9'}, std::nullopt},
      // LEN and element lengths that point past the bytes received
      {"LEN beyond the reply", {0x12, 0x00, 0xFF, 0x01, 0x02, 0xAA}, std::nullopt},
      {"element length beyond the reply", {0x12, 0x00, 0xFF, 0x01, 0xF0, 0xAA, 0xBB}, std::nullopt},
      {"tag is the last byte", {0x12, 0x00, 0xFF, 0x0F}, ""},
      {"value cut by the end of the reply", {0x12, 0x00, 0xFF, 0x0F, 0x10, '2', '.', '3'}, "23"},
      {"dots only", {0x12, 0x00, 0x09, 0x0F, 0x03, '.', '.', '.'}, ""},
      {"long text is cut to 11",
       {0x12, 0x00, 0x30, 0x0F, 0x10, '1', '.', '2', '3', '4', '5',
        '6',  '7',  '8',  '9',  '0',  'a', 'b', 'c', 'd', 'e'},
       "1234567890a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextOf(c.reply), c.text);
  }
}

TEST(FindVersionTextTest, ElementEndIsTakenModulo256) {
  // Version element at 250 with length 10: its end, 262, is kept to a
  // byte as 6, before its start, so the text is empty.
  std::vector<uint8_t> reply(300, 0x00);
  reply[2] = 0xFF;
  size_t p = 3;
  while (p + 2 + 20 < 250) {  // filler elements up to position 250
    reply[p] = 0x01;
    reply[p + 1] = 20;
    p += 22;
  }
  reply[p] = 0x01;
  reply[p + 1] = static_cast<uint8_t>(250 - p - 2);
  reply[250] = 0x0F;
  reply[251] = 10;
  for (size_t i = 252; i < 262; ++i) reply[i] = '7';
  EXPECT_EQ(TextOf(reply), "");

  reply[251] = 5;  // 257 % 256 = 1: still empty
  EXPECT_EQ(TextOf(reply), "");
  reply[251] = 3;  // 255: the three bytes 252..254
  EXPECT_EQ(TextOf(reply), "777");
}

TEST(VersionNumberTest, FollowsAtoiWithoutOverflow) {
  constexpr int32_t max = std::numeric_limits<int32_t>::max();
  constexpr int32_t min = std::numeric_limits<int32_t>::min();
  struct Case {
    std::string text;
    int32_t number;
  };
  const Case cases[] = {
      {"228", 228},
      {"00228", 228},
      {"228a", 228},
      {" \t\n\v\f\r30", 30},
      {"+201", 201},
      {"-228", -228},
      {"", 0},
      {"a228", 0},
      {"+", 0},
      {"- 5", 0},
      {std::string("2\0"
                   "28",
                   4),
       2},
      {"2147483647", max},
      {"2147483648", max},
      {"99999999999", max},
      {"-2147483648", min},
      {"-99999999999", min},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(VersionNumber(Text(c.text)), c.number);
  }
}

TEST(ClassifyVersionTest, BoundariesOfTheResultCodes) {
  const std::pair<int32_t, int32_t> cases[] = {
      {std::numeric_limits<int32_t>::min(), 5}, {0, 5}, {200, 5}, {201, 1}, {227, 1}, {228, 0},
      {std::numeric_limits<int32_t>::max(), 0},
  };
  for (const auto& [number, result] : cases) EXPECT_EQ(halvex::ClassifyVersion(number), result) << number;
}

}  // namespace
