#include <gtest/gtest.h>

#include "decode/Hex.h"
#include "decode/TextRows.h"

namespace decode {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Hex, BytesAsText) {
  EXPECT_EQ(HexByte(0x0A), "0A");
  EXPECT_EQ(HexBytes(Bytes{0x80, 0x73, 0xFF}), "80 73 FF");
  EXPECT_EQ(HexBytes(Bytes{0x6A, 0x82}, ""), "6A82");
  EXPECT_EQ(HexBytes(Bytes{}), "");
}

TEST(Hex, DumpLinesHaveOffsetHexAndText) {
  Bytes bytes(0x10011, 0x41);
  bytes[1] = 0x00;
  const std::vector<std::string> lines = HexDumpLines(bytes);
  ASSERT_EQ(lines.size(), 0x1002u);
  EXPECT_EQ(lines[0], "0000  41 00 41 41 41 41 41 41 41 41 41 41 41 41 41 41  A.AAAAAAAAAAAAAA");
  EXPECT_EQ(lines[0xFFF].substr(0, 6), "FFF0  ");
  // Past 64 KB the offset grows a digit rather than wrapping; a short last line keeps the columns.
  EXPECT_EQ(lines[0x1000].substr(0, 7), "10000  ");
  EXPECT_EQ(lines[0x1001], "10010  41" + std::string(3 * 15, ' ') + "  A");
  EXPECT_TRUE(HexDumpLines(Bytes{}).empty());
}

TEST(Hex, ParseAcceptsBlanksColonsAndEitherCase) {
  for (std::string_view text : {"3B021450", "3b 02 14 50", "3B:02:14:50", " 3B0 2\t1450 ", "3b:02 14:50"}) {
    const ParsedHex parsed = ParseHex(text);
    EXPECT_EQ(parsed.error, HexError::None) << text;
    EXPECT_EQ(parsed.bytes, (Bytes{0x3B, 0x02, 0x14, 0x50})) << text;
  }
}

TEST(Hex, ParseRefusesBadInput) {
  struct Case {
    std::string_view text;
    HexError error;
  } cases[] = {
      {"", HexError::Empty},         {" : ", HexError::Empty},     {"3B0", HexError::OddDigits},
      {"3B 0", HexError::OddDigits}, {"3G", HexError::NotHex},     {"0x3B", HexError::NotHex},
      {"3B,02", HexError::NotHex},   {"3B\n02", HexError::NotHex},
  };
  for (const Case& c : cases) {
    const ParsedHex parsed = ParseHex(c.text);
    EXPECT_EQ(parsed.error, c.error) << c.text;
    EXPECT_TRUE(parsed.bytes.empty()) << c.text;
    EXPECT_FALSE(HexErrorText(c.error).empty());
  }
}

TEST(TextRows, ColumnsAlignOverRowsThatHaveThem) {
  const TextRow rows[] = {
      {"TS", "3B", "direct convention"},
      {"TA1", "13", "Fi 372"},
      {"Historical bytes", "", ""},  // a heading: no width for the label column
      {"T0", "9F", ""},
  };
  EXPECT_EQ(AlignedLines(rows), (std::vector<std::string>{
                                    "TS   3B  direct convention",
                                    "TA1  13  Fi 372",
                                    "Historical bytes",
                                    "T0   9F",
                                }));
}

}  // namespace
}  // namespace decode
