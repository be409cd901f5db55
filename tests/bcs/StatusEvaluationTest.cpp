// Each operation's status-word table, judged on answers as a terminal gives them.
#include <gtest/gtest.h>

#include <vector>

#include "bcs/StatusEvaluation.h"

namespace {

struct Case {
  const BcsOperation* operation;
  std::vector<std::uint8_t> response;
  Outcome expected;
};

std::string Describe(const Outcome& o) {
  return "{\"" + o.message + "\", icon " + std::to_string(static_cast<unsigned>(o.icon)) + ", \"" + o.result +
         "\", effect " + std::to_string(static_cast<int>(o.effect)) + "}";
}

void ExpectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const Outcome actual = EvaluateResponse(*c.operation, c.response);
    EXPECT_EQ(actual, c.expected) << c.operation->name << " on " << ::testing::PrintToString(c.response)
                                  << "\n"
                                  << Describe(actual);
  }
}

constexpr auto kInfo = Icon::Information;
constexpr auto kStop = Icon::Stop;
constexpr auto kWarn = Icon::Exclamation;

}  // namespace

TEST(StatusEvaluation, ResetCtSearchesTheLowerCaseTextAndShowsItWhole) {
  ExpectCases({
      {&kResetCt,
       {0x90, 0x00},
       {"Reset successful.", kInfo, ">Reset successful.", PanelEffect::CardButtonsUnlocked}},
      // The compact text is searched across byte boundaries: 19 00 01 reads "190001".
      {&kResetCt,
       {0x19, 0x00, 0x01},
       {"Reset successful.", kInfo, ">Reset successful.", PanelEffect::CardButtonsUnlocked}},
      {&kResetCt, {0x64, 0x00}, {"Reset not successful!", kStop, ">Reset not successful."}},
      {&kResetCt,
       {0x6F, 0x00},
       {"Reset not successful.\nStatus:\n6f00", kStop, ">Reset not successful.\nStatus:\n6f00"}},
      {&kResetCt,
       {0xAB, 0xCD, 0x6F, 0x00},
       {"Reset not successful.\nStatus:\nabcd6f00", kStop, ">Reset not successful.\nStatus:\nabcd6f00"}},
      {&kResetCt, {}, {"Reset not successful.\nStatus:\n", kStop, ">Reset not successful.\nStatus:\n"}},
  });
}

TEST(StatusEvaluation, ResetIccCutsTheAtrInFrontOfTheMatch) {
  ExpectCases({
      // The worked example: the ATR is the twelve characters before "90 00".
      {&kResetIcc,
       {0x3B, 0x02, 0x14, 0x50, 0x90, 0x00},
       {"Synchronous ICC, reset successful.\nATR:\n3B 02 14 50 ", kInfo, ">3B 02 14 50 90 00 "}},
      {&kResetIcc, {0x90, 0x00}, {"Synchronous ICC, reset successful.\nATR:\n", kInfo, ">90 00 "}},
      // 90 00 inside the ATR wins over the 90 01 at its end.
      {&kResetIcc,
       {0x3B, 0x90, 0x00, 0x12, 0x90, 0x01},
       {"Synchronous ICC, reset successful.\nATR:\n3B ", kInfo, ">3B 90 00 12 90 01 "}},
      {&kResetIcc,
       {0x3b, 0x8a, 0x90, 0x01},
       {"Asynchronous ICC, reset successful.\nATR:\n3B 8A ", kInfo, ">3B 8A 90 01 "}},
      {&kResetIcc, {0x64, 0x00}, {"Reset ICC not successful!", kStop, ">Reset ICC not successful!"}},
      {&kResetIcc,
       {0x64, 0xA1},
       {"Reset ICC not successful, no SmartCard detected!", kStop,
        ">Reset ICC not successful, no SmartCard detected!"}},
      {&kResetIcc,
       {0x3B, 0x64, 0xA1},
       {"Reset ICC not successful.\nStatus:\n64 A1 ", kStop, ">Reset ICC not successful.\nStatus:\n64 A1 "}},
      {&kResetIcc,
       {0x6F},
       {"Reset ICC not successful.\nStatus:\n6F ", kStop, ">Reset ICC not successful.\nStatus:\n6F "}},
      {&kResetIcc,
       {},
       {"Reset ICC not successful.\nStatus:\n", kStop, ">Reset ICC not successful.\nStatus:\n"}},
  });
}

TEST(StatusEvaluation, RequestIccWarnsWithTheExclamationIconAndFailsInResetIccWording) {
  ExpectCases({
      {&kRequestIcc,
       {0x90, 0x00},
       {"Synchronous ICC presented, reset successful.\nATR:\n", kInfo, ">90 00 "}},
      {&kRequestIcc,
       {0x3b, 0x02, 0xaf, 0x90, 0x01},
       {"Asynchronous ICC presented, reset successful.\nATR:\n3B 02 AF ", kInfo, ">3B 02 AF 90 01 "}},
      {&kRequestIcc, {0x64, 0x00}, {"Reset ICC not successful!", kStop, ">Reset ICC not successful!"}},
      {&kRequestIcc,
       {0x64, 0xA1},
       {"Reset ICC not successful, no SmartCard detected!", kStop,
        ">Reset ICC not successful, no SmartCard detected!"}},
      {&kRequestIcc,
       {0x62, 0x00},
       {"Warning: No card presented within specified time!", kWarn,
        ">Warning: No card presented within specified time!"}},
      {&kRequestIcc,
       {0x62, 0x01},
       {"Warning: ICC already present and activated!", kWarn,
        ">Warning: ICC already present and activated!"}},
      {&kRequestIcc,
       {0x69, 0x00},
       {"Command with timer not supported!", kStop, ">Command with timer not supported!"}},
      {&kRequestIcc,
       {0x01, 0x62, 0x00},
       {"Request ICC not successful.\nStatus:\n62 00 ", kStop,
        ">Reset ICC not successful.\nStatus:\n62 00 "}},
      {&kRequestIcc,
       {0x6A, 0x82},
       {"Request ICC not successful.\nStatus:\n6A 82 ", kStop,
        ">Reset ICC not successful.\nStatus:\n6A 82 "}},
  });
}

TEST(StatusEvaluation, EjectIcc) {
  ExpectCases({
      {&kEjectIcc, {0x90, 0x00}, {"Command successful.", kInfo, ">Command successful."}},
      {&kEjectIcc,
       {0x90, 0x01},
       {"Command successful, Card removed.", kInfo, ">Command successful, Card removed."}},
      {&kEjectIcc,
       {0x62, 0x00},
       {"Warning: Card not removed within specified time!", kWarn,
        ">Warning: Card not removed within specified time!"}},
      {&kEjectIcc,
       {0x55, 0x62, 0x00},
       {"Eject ICC not successful.\nStatus:\n62 00 ", kStop, ">Reset ICC not successful.\nStatus:\n62 00 "}},
      {&kEjectIcc,
       {0x6a, 0x82},
       {"Eject ICC not successful.\nStatus:\n6A 82 ", kStop, ">Reset ICC not successful.\nStatus:\n6A 82 "}},
  });
}

TEST(StatusEvaluation, IccStatusExplainsTheFirstByte) {
  ExpectCases({
      {&kIccStatus,
       {0x05, 0x90, 0x00},
       {"ICC electrically connected.", kInfo, ">ICC electrically connected."}},
      {&kIccStatus, {0x00, 0x90, 0x00}, {"No ICC inserted.", kInfo, ">No ICC inserted."}},
      {&kIccStatus, {0x01, 0x90, 0x00}, {"No ICC information.", kInfo, ">No ICC information."}},
      {&kIccStatus,
       {0x03, 0x90, 0x01},
       {"ICC electrically not connected.", kInfo, ">ICC electrically not connected."}},
      {&kIccStatus, {0x02, 0x90, 0x00}, {"Invalid ICC Status.", kInfo, ">Invalid ICC Status."}},
      {&kIccStatus, {0x90, 0x00}, {"Invalid ICC Status.", kInfo, ">Invalid ICC Status."}},
      {&kIccStatus,
       {0x6A, 0x82},
       {"ICC Status not successful.\nStatus:\n6A82", kStop, ">ICC Status not successful.\nStatus:\n6A82"}},
      {&kIccStatus,
       {0x6A},
       {"ICC Status not successful.\nStatus:\n6A", kStop, ">ICC Status not successful.\nStatus:\n6A"}},
  });
  for (int status : {4, 6, 255})
    EXPECT_EQ(IccStatusText(static_cast<std::uint8_t>(status)), "Invalid ICC Status.");
}

namespace {
std::vector<std::uint8_t> Bytes(std::string_view text, std::vector<std::uint8_t> tail = {0x90, 0x00}) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}
}  // namespace

TEST(StatusEvaluation, CtInfoShowsTheFourFields) {
  ExpectCases({
      // A two-letter type: its blanks stay in the result line only.
      {&kCtInfo,
       Bytes("DETOVAB   1.0.2"),
       {"Country code:\tDE\nManufacturer:\tTOV\nCT Type:\t\tAB\nCT SW Version:\t1.0.2", kInfo,
        ">Country code:  DE\nManufacturer:   TOV\nCT Type:      AB   \nCT SW Version: 1.0.2"}},
      // Blanks of the first two fields stay in the box too.
      {&kCtInfo,
       Bytes("D T O K 12  1 0", {0x90, 0x01}),
       {"Country code:\tD \nManufacturer:\tT O\nCT Type:\t\tK12\nCT SW Version:\t10", kInfo,
        ">Country code:  D \nManufacturer:   T O\nCT Type:       K 12\nCT SW Version:   1 0"}},
      // Fewer than 15 data bytes: the fields end with the data, the status bytes are not characters.
      {&kCtInfo,
       Bytes("DETO"),
       {"Country code:\tDE\nManufacturer:\tTO\nCT Type:\t\t\nCT SW Version:\t", kInfo,
        ">Country code:  DE\nManufacturer:   TO\nCT Type:      \nCT SW Version: "}},
      {&kCtInfo,
       Bytes("DETOVTYPE1VERSION-AND-MORE"),
       {"Country code:\tDE\nManufacturer:\tTOV\nCT Type:\t\tTYPE1\nCT SW Version:\tVERSI", kInfo,
        ">Country code:  DE\nManufacturer:   TOV\nCT Type:      TYPE1\nCT SW Version: VERSI"}},
      {&kCtInfo,
       {0x6A, 0x82},
       {"CT Info not successful.\nStatus:\n6A82", kStop, ">CT Info not successful.\nStatus:\n6A82"}},
  });
}

TEST(StatusEvaluation, OnlyTheFirst1496Or997BytesOfALongAnswerAreConverted) {
  std::vector<std::uint8_t> response(2048);
  for (std::size_t i = 0; i < response.size(); ++i) response[i] = static_cast<std::uint8_t>(i);
  // Bytes 1494 and 1495 (D6 D7) are the last of the compact text, 995 and 996 (E3 E4) of the spaced.
  EXPECT_EQ(ResponseText(response, HexForm::Compact).size(), 1496u * 2);
  EXPECT_EQ(ResponseText(response, HexForm::Spaced).size(), 997u * 3);
  EXPECT_EQ(ResponseText(std::span(response).first(1496), HexForm::Compact),
            ResponseText(response, HexForm::Compact));
  ExpectCases({
      {&kIccStatus,
       response,
       {"ICC Status not successful.\nStatus:\nD6D7", kStop, ">ICC Status not successful.\nStatus:\nD6D7"}},
      {&kResetIcc,
       response,
       {"Reset ICC not successful.\nStatus:\nE3 E4 ", kStop, ">Reset ICC not successful.\nStatus:\nE3 E4 "}},
  });
  // The Reset CT failure shows all 2992 characters.
  const Outcome resetCt = EvaluateResponse(kResetCt, response);
  EXPECT_EQ(resetCt.result.size(), std::string_view(">Reset not successful.\nStatus:\n").size() + 2992);
  EXPECT_EQ(resetCt.result.substr(resetCt.result.size() - 4), "d6d7");
}

TEST(StatusEvaluation, DriverErrorsUseTheTableOrTheOperationsFormat) {
  const struct {
    const BcsOperation* operation;
    const char* format;
  } formats[] = {
      {&kResetCt, "Error Reset CT RC-Code = "},     {&kResetIcc, "Error Reset ICC RC-Code = "},
      {&kRequestIcc, "Error Reset ICC RC-Code = "}, {&kEjectIcc, "Error Reset ICC RC-Code = "},
      {&kIccStatus, "Error ICC Status RC-Code = "}, {&kCtInfo, "Error CT Info RC-Code = "},
  };
  for (const auto& f : formats) {
    EXPECT_EQ(DriverErrorOutcome(-5, f.operation->errorPrefix),
              (Outcome{std::string(f.format) + "-5", kStop, ">" + std::string(f.format) + "-5"}));
    EXPECT_EQ(DriverErrorOutcome(-128, f.operation->errorPrefix),
              (Outcome{"-128 (ERR_HTSI) ", kStop, ">-128 (ERR_HTSI) "}));
  }
}
