#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "console/ResponseDisplay.h"

namespace {
using Bytes = std::vector<std::uint8_t>;
}

TEST(FormatResponse, StatusWordsInHexAsciiAndLog) {
  const Bytes ok{0x90, 0x00};
  const FormattedResponse hex = FormatResponse(ok, 1, 2, DisplayMode::Hex);
  EXPECT_EQ(hex.display, "1,2    90 00 ");
  EXPECT_EQ(hex.log, "#1,2 9000\n");
  EXPECT_EQ(hex.lineCount, 1);
  const FormattedResponse ascii = FormatResponse(ok, 1, 2, DisplayMode::Ascii);
  EXPECT_EQ(ascii.display, "");
  EXPECT_EQ(ascii.log, "#1,2 9000\n") << "the log is hex in either mode";
}

TEST(FormatResponse, AsciiShowsPrintableBytesWithoutTheStatusWords) {
  const Bytes answer{'A', 0x1F, 0x20, 0x7F, 0x80, 0xFF, 'z', 0x90, 0x00};
  EXPECT_EQ(FormatResponse(answer, 1, 2, DisplayMode::Ascii).display, "A  \x7F  z");
  EXPECT_EQ(FormatResponse(Bytes{0x41}, 1, 2, DisplayMode::Ascii).display, "");
}

TEST(FormatResponse, WideAddressesShiftTheBytesInsteadOfCoveringThem) {
  const FormattedResponse r = FormatResponse(Bytes{0xAB, 0x90, 0x00}, 0x12, 0xF, DisplayMode::Hex);
  EXPECT_EQ(r.display, "12,f    ab 90 00 ");
  EXPECT_EQ(r.log, "#12,f ab9000\n");
}

TEST(FormatResponse, LineCounts) {
  const struct {
    std::size_t length;
    DisplayMode mode;
    int lines;
  } cases[] = {
      {1, DisplayMode::Hex, 1},    {26, DisplayMode::Hex, 1},      {27, DisplayMode::Hex, 2},
      {60, DisplayMode::Hex, 3},   {4096, DisplayMode::Hex, 152},  {80, DisplayMode::Ascii, 1},
      {81, DisplayMode::Ascii, 2}, {4096, DisplayMode::Ascii, 51},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatResponse(Bytes(c.length, 0x41), 1, 2, c.mode).lineCount, c.lines) << c.length;
}

TEST(FormatResponse, FullBufferShownWhole) {
  Bytes answer(4096);
  std::iota(answer.begin(), answer.end(), 0);
  const FormattedResponse r = FormatResponse(answer, 1, 2, DisplayMode::Hex);
  ASSERT_EQ(r.display.size(), 7u + 3 * 4096);
  EXPECT_EQ(r.display.substr(r.display.size() - 6), "fe ff ");
  EXPECT_EQ(r.log.size(), 5u + 2 * 4096 + 1);  // "#1,2 ", the bytes, the line feed
}

TEST(ScrollOutput, SixtyByteResponse) {
  Bytes answer(60);
  std::iota(answer.begin(), answer.end(), 0);
  const FormattedResponse r = FormatResponse(answer, 1, 2, DisplayMode::Hex);
  ASSERT_EQ(r.lineCount, 3);

  int position = MovedScrollPosition(0, ScrollRequest::LineDown, 0);
  ScrolledOutput view = ScrollOutput(r.display, r.lineCount, position);
  EXPECT_TRUE(view.active);
  EXPECT_EQ(view.position, 1);
  EXPECT_EQ(view.text, r.display.substr(81));

  view = ScrollOutput(r.display, r.lineCount, MovedScrollPosition(1, ScrollRequest::Thumb, 3));
  EXPECT_EQ(view.position, 3);
  EXPECT_FALSE(view.text) << "at the end of the range the line keeps its text";

  view = ScrollOutput(r.display, r.lineCount, MovedScrollPosition(3, ScrollRequest::PageDown, 0));
  EXPECT_EQ(view.position, 3) << "limited to the range";
  view = ScrollOutput(r.display, r.lineCount, MovedScrollPosition(0, ScrollRequest::PageUp, 0));
  EXPECT_EQ(view.position, 0);
  EXPECT_EQ(view.text, r.display);
  EXPECT_EQ(MovedScrollPosition(2, ScrollRequest::Other, 0), 2);
}

TEST(ScrollOutput, ShortTextsDoNotScroll) {
  const ScrolledOutput view = ScrollOutput("1,2    90 00 ", 1, 1);
  EXPECT_FALSE(view.active);
  EXPECT_FALSE(view.text);
}

TEST(ScrollOutput, AsciiLineBeyondTheTextShowsNothing) {
  // 162 bytes: three lines, but the text without its status bytes ends at 160 characters.
  const FormattedResponse r = FormatResponse(Bytes(162, 'x'), 1, 2, DisplayMode::Ascii);
  ASSERT_EQ(r.lineCount, 3);
  const ScrolledOutput view = ScrollOutput(r.display, r.lineCount, 2);
  EXPECT_EQ(view.text, "");
}
