#include <gtest/gtest.h>

#include "decode/Answer.h"
#include "decode/Hex.h"

namespace decode {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Case {
  std::string_view what, command, response;
  bool toTerminal;
  AnswerData kind;
  std::string_view meaning;  // of the status word
};

TEST(Answer, WhatTheDataAre) {
  const Case cases[] = {
      {"RESET ICC asking for the ATR", "20 11 01 01 00", "3B 02 14 50 90 01", true, AnswerData::Atr,
       "Reset successful: asynchronous card"},
      {"REQUEST ICC asking for the ATR", "20 12 01 01 00", "3B 02 14 50 90 01", true, AnswerData::Atr,
       "Asynchronous card presented, reset successful"},
      {"RESET ICC, historical bytes only", "20 11 01 02 00", "80 73 FF 01 00 90 01", true,
       AnswerData::HistoricalBytes, "Reset successful: asynchronous card"},
      {"RESET ICC, nothing asked for", "20 11 01 00", "90 01", true, AnswerData::None,
       "Reset successful: asynchronous card"},
      {"RESET CT has no ATR", "20 11 00 01 00", "90 00", true, AnswerData::None,
       "Reset successful (the terminal, or a synchronous card)"},
      {"the same bytes from a card are no ATR", "00 11 01 01 00", "3B 02 14 50 90 00", false,
       AnswerData::Bytes, "Normal processing: no further qualification"},
      {"GET STATUS with objects", "20 13 00 80 00", "80 01 05 90 00", true, AnswerData::Tlv,
       "Command successful"},
      {"SELECT with an FCI", "00 A4 04 00 07 A0 00 00 00 04 10 10",
       "6F 0B 84 07 A0 00 00 00 04 10 10 50 00 90 00", false, AnswerData::Tlv,
       "Normal processing: no further qualification"},
      {"data that are not TLV throughout", "00 B0 00 00 05", "48 45 4C 4C 4F 90 00", false, AnswerData::Bytes,
       "Normal processing: no further qualification"},
      {"only padding is no TLV", "00 B0 00 00 02", "00 00 90 00", false, AnswerData::Bytes,
       "Normal processing: no further qualification"},
      {"status word alone", "00 A4 04 00 07 A0 00 00 00 04 10 10", "6A 82", false, AnswerData::None,
       "File or application not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes command = ParseHex(c.command).bytes, response = ParseHex(c.response).bytes;
    const Answer answer = DecodeAnswer({command, response, c.toTerminal, c.toTerminal});
    EXPECT_EQ(answer.kind, c.kind);
    ASSERT_TRUE(answer.status);
    EXPECT_EQ(answer.status->meaning, c.meaning);
    EXPECT_EQ(answer.data.size(), response.size() - 2);
  }
}

TEST(Answer, TerminalAnsweringACardCommandSpeaksForItself) {
  const Bytes command = ParseHex("00 A4 04 00 00").bytes, response{0x64, 0xA1};
  EXPECT_EQ(DecodeAnswer({command, response, false, true}).status->meaning, "No card present");
  EXPECT_EQ(DecodeAnswer({command, response, false, false}).status->terminal, false);
}

TEST(Answer, ShorterThanAStatusWord) {
  const Bytes command{0x00}, response{0x90};
  const Answer answer = DecodeAnswer({command, response});
  EXPECT_FALSE(answer.status);
  EXPECT_EQ(answer.data, Bytes{0x90});
  EXPECT_EQ(answer.kind, AnswerData::Bytes);
  EXPECT_EQ(AnswerLines(DecodeAnswer({})),
            std::vector<std::string>{"No status word: the answer is shorter than two bytes"});
}

TEST(Answer, LinesForAPerson) {
  const Bytes command = ParseHex("20 12 01 01 00").bytes, response = ParseHex("3B 02 14 50 90 01").bytes;
  EXPECT_EQ(AnswerLines(DecodeAnswer({command, response, true, true})),
            (std::vector<std::string>{
                "SW1 SW2  90 01",
                "Group    Card terminal (CT-BCS)",
                "Meaning  Asynchronous card presented, reset successful",
                "ATR, 4 bytes:",
                "  TS          3B  Direct convention",
                "  T0          02  No interface bytes; 2 historical bytes",
                "  Protocols   T=0",
                "  Rate        Fi 372, Di 1, f max 5 MHz",
                "  Historical  14 50",
                "    Category  14  Proprietary",
            }));
  Bytes text(20, 'A');
  text[3] = 0x01;
  text.insert(text.end(), {0x90, 0x00});
  EXPECT_EQ(AnswerLines(DecodeAnswer({command, text}))[3], "Data, 20 bytes:");
  EXPECT_EQ(AnswerLines(DecodeAnswer({command, text}))[4],
            "  0000  41 41 41 01 41 41 41 41 41 41 41 41 41 41 41 41  AAA.AAAAAAAAAAAA");
  EXPECT_EQ(AnswerLines(DecodeAnswer({command, text}))[5],
            "  0010  41 41 41 41                                      AAAA");
}

}  // namespace
}  // namespace decode
