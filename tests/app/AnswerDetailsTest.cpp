// What the Answer Details window shows for an exchange of either panel.
#include <gtest/gtest.h>

#include <string>

#include "app/AnswerDetails.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(AnswerDetails, AConsoleCommandToTheCardShowsItsBytesAndTheCardsMeaning) {
  const Exchange select{ExchangePanel::TestConsole,
                        0,
                        2,
                        0,
                        {0x00, 0xA4, 0x04, 0x00, 0x07, 0xA0, 0x00, 0x00, 0x00, 0x04, 0x10, 0x10},
                        0,
                        {0x6A, 0x82}};
  const std::string text = AnswerDetailsText(select);
  EXPECT_TRUE(
      text.starts_with("Sent by    test console\r\n"
                       "Addresses  2,0\r\n"
                       "Command    00 A4 04 00 07 A0 00 00 00 04 10 10\r\n"
                       "CT_data    0 (OK)\r\n"
                       "Answer     6A 82\r\n"
                       "\r\n"))
      << text;
  EXPECT_TRUE(Contains(text, "File or application not found\r\n")) << text;
  EXPECT_TRUE(text.ends_with("\r\n"));
  EXPECT_FALSE(Contains(text, " \r\n")) << "no line ends in blanks";
}

// The terminal's meanings apply where the command went to it or where it answered in the card's
// place; REQUEST ICC's 62 00 is then "no card within the time", from a card a warning.
TEST(AnswerDetails, TheTerminalsMeaningsByTheAddresses) {
  const struct {
    std::uint8_t dad, answeredBy;
    bool terminal;
  } cases[] = {{1, 1, true}, {0, 1, true}, {0, 0, false}};
  for (const auto& c : cases) {
    const Exchange request{
        ExchangePanel::CtBcs, c.dad, 2, c.answeredBy, {0x20, 0x12, 0x01, 0x00, 0x01, 0x01}, 0, {0x62, 0x00}};
    const std::string text = AnswerDetailsText(request);
    EXPECT_EQ(Contains(text, "Card terminal (CT-BCS)"), c.terminal)
        << int(c.dad) << "/" << int(c.answeredBy) << "\n"
        << text;
  }
}

TEST(AnswerDetails, ARequestIccAnswerIsExplainedAsAnAtr) {
  const Exchange request{ExchangePanel::CtBcs,
                         1,
                         2,
                         1,
                         {0x20, 0x12, 0x01, 0x01, 0x01, 0x05},
                         0,
                         {0x3B, 0x02, 0x14, 0x50, 0x90, 0x01}};
  const std::string text = AnswerDetailsText(request);
  EXPECT_TRUE(Contains(text, "\r\nATR, 4 bytes:\r\n")) << text;
  EXPECT_TRUE(Contains(text, "TS")) << text;
}

TEST(AnswerDetails, AFailedCallShowsTheReturnCodeAndNoAnswer) {
  const Exchange failed{ExchangePanel::CtBcs, 1, 2, 1, {0x20, 0x13, 0x00, 0x80}, -10, {}};
  EXPECT_EQ(AnswerDetailsText(failed),
            "Sent by    CT-BCS panel\r\n"
            "Addresses  2,1\r\n"
            "Command    20 13 00 80\r\n"
            "CT_data    -10 (ERR_TRANS)\r\n");
  const Exchange unknown{ExchangePanel::CtBcs, 1, 2, 1, {0x20, 0x13, 0x00, 0x80}, -3, {}};
  EXPECT_TRUE(Contains(AnswerDetailsText(unknown), "CT_data    -3\r\n"));
}

TEST(AnswerDetails, LongBytesWrapSixteenToALineAndAnEmptyAnswerSaysSo) {
  std::vector<std::uint8_t> answer(33, 0x41);
  answer.back() = 0x00;
  answer[31] = 0x90;
  const std::string text = AnswerDetailsText(
      Exchange{ExchangePanel::TestConsole, 0, 2, 0, {0x00, 0xB0, 0x00, 0x00, 0x1F}, 0, answer});
  EXPECT_TRUE(Contains(text,
                       "Answer     41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41\r\n"
                       "           41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 90\r\n"
                       "           00\r\n"))
      << text;

  const std::string empty = AnswerDetailsText(Exchange{ExchangePanel::TestConsole, 0, 2, 0, {0x00}, 0, {}});
  EXPECT_TRUE(empty.ends_with("Answer     none\r\n")) << empty;
}

TEST(AnswerDetails, BeforeAnyCommand) { EXPECT_EQ(AnswerDetailsText(std::nullopt), kNoExchangeYet); }
