// The panel's driver calls: addresses, buffer, result codes, and answers longer than the buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "bcs/PanelExchange.h"
#include "bcs/SessionCommands.h"
#include "session/LastExchange.h"

namespace {

struct FakeDriver {
  static inline int rc = 0;
  static inline std::vector<std::uint8_t> answer;
  static inline int reportedLength = -1;  // -1: the answer's size
  static inline std::vector<std::uint8_t> sent;
  static inline unsigned sentCtn = 0, sentPtn = 0, capacity = 0;
  static inline unsigned char sentDad = 0, sentSad = 0;

  static void Answer(int code, std::vector<std::uint8_t> bytes, int reported = -1) {
    rc = code;
    answer = std::move(bytes);
    reportedLength = reported;
  }
  static signed char CTAPI_CALL Init(unsigned short ctn, unsigned short ptn) {
    sentCtn = ctn;
    sentPtn = ptn;
    return static_cast<signed char>(rc);
  }
  static signed char CTAPI_CALL Close(unsigned short ctn) {
    sentCtn = ctn;
    return static_cast<signed char>(rc);
  }
  static signed char CTAPI_CALL Data(unsigned short ctn, unsigned char* dad, unsigned char* sad,
                                     unsigned short lenc, unsigned char* command, unsigned short* lenr,
                                     unsigned char* response) {
    sentCtn = ctn;
    sentDad = *dad;
    sentSad = *sad;
    capacity = *lenr;
    sent.assign(command, command + lenc);
    std::memcpy(response, answer.data(), std::min<std::size_t>(answer.size(), *lenr));
    *lenr = static_cast<unsigned short>(reportedLength < 0 ? answer.size() : reportedLength);
    *dad = 2;
    *sad = 1;
    return static_cast<signed char>(rc);
  }
  static CtDriver Driver() { return {&Init, &Close, &Data, nullptr}; }
};

}  // namespace

TEST(PanelExchange, SendsFromHostToTerminalWithTheWholeBuffer) {
  PanelExchange exchange;
  FakeDriver::Answer(0, {0x90, 0x00});
  const std::uint8_t command[] = {0x20, 0x11, 0x00, 0x00};
  const Outcome outcome = exchange.Send(FakeDriver::Driver(), 7, kResetCt, command);
  EXPECT_EQ(outcome.result, ">Reset successful.");
  EXPECT_EQ(FakeDriver::sentCtn, 7u);
  EXPECT_EQ(FakeDriver::sentDad, 1);
  EXPECT_EQ(FakeDriver::sentSad, 2);
  EXPECT_EQ(FakeDriver::capacity, 2048u);
  EXPECT_EQ(FakeDriver::sent, std::vector<std::uint8_t>(command, command + 4));
}

TEST(PanelExchange, ANegativeResultIsNotLookedAtAsAnAnswer) {
  PanelExchange exchange;
  const std::uint8_t command[] = {0x20, 0x13, 0x00, 0x80};
  FakeDriver::Answer(-10, {0x05, 0x90, 0x00});
  EXPECT_EQ(exchange.Send(FakeDriver::Driver(), 0, kIccStatus, command),
            (Outcome{"-10 (ERR_TRANS) ", Icon::Stop, ">-10 (ERR_TRANS) "}));
  FakeDriver::Answer(-3, {0x05, 0x90, 0x00});
  EXPECT_EQ(exchange.Send(FakeDriver::Driver(), 0, kIccStatus, command).message,
            "Error ICC Status RC-Code = -3");
  FakeDriver::Answer(1, {0x05, 0x90, 0x00});
  EXPECT_EQ(exchange.Send(FakeDriver::Driver(), 0, kIccStatus, command).message,
            "ICC electrically connected.")
      << "a positive result is a success";
}

TEST(PanelExchange, AReportedLengthBeyondTheBufferIsReadOnlyToItsEnd) {
  PanelExchange exchange;
  std::vector<std::uint8_t> answer(2048, 0x41);
  answer[1494] = 0x6A;
  answer[1495] = 0x82;
  FakeDriver::Answer(0, answer, 60000);
  const std::uint8_t command[] = {0x20, 0x13, 0x00, 0x46};
  EXPECT_EQ(exchange.Send(FakeDriver::Driver(), 0, kCtInfo, command).message,
            "CT Info not successful.\nStatus:\n6A82");
}

TEST(PanelExchange, CtInfoNeverShowsWhatAnEarlierAnswerLeftInTheBuffer) {
  PanelExchange exchange;
  const std::uint8_t command[] = {0x20, 0x13, 0x00, 0x46};
  FakeDriver::Answer(0, std::vector<std::uint8_t>(40, 'X'));
  exchange.Send(FakeDriver::Driver(), 0, kCtInfo, command);
  FakeDriver::Answer(0, {'D', 'E', 'T', 0x90, 0x00});
  EXPECT_EQ(exchange.Send(FakeDriver::Driver(), 0, kCtInfo, command).result,
            ">Country code:  DE\nManufacturer:   T\nCT Type:      \nCT SW Version: ");
}

TEST(SessionCommands, InitAndCloseWithTheirLowerCaseFormats) {
  const SessionSettings settings{1, 2};
  const struct {
    bool init;
    int rc;
    Outcome expected;
  } cases[] = {
      {true, 0, {"CT_init ok!", Icon::Information, ">CT_init ok!", PanelEffect::SessionOpened}},
      {true, 3, {"CT_init ok!", Icon::Information, ">CT_init ok!", PanelEffect::SessionOpened}},
      {true, -8, {"-8 (ERR_CT) ", Icon::Stop, ">-8 (ERR_CT) "}},
      {true, -5, {"Error CT_init RC-code = -5", Icon::Stop, ">Error CT_init RC-code = -5"}},
      {false, 0, {"CT_close ok!", Icon::Information, ">CT_close ok!", PanelEffect::SessionClosed}},
      {false, -1, {"-1 (ERR_INVALID) ", Icon::Stop, ">-1 (ERR_INVALID) "}},
      {false, -7, {"Error CT_close RC-code = -7", Icon::Stop, ">Error CT_close RC-code = -7"}},
  };
  for (const auto& c : cases) {
    FakeDriver::rc = c.rc;
    FakeDriver::sentCtn = FakeDriver::sentPtn = 99;
    const Outcome outcome =
        c.init ? InitTerminal(FakeDriver::Driver(), settings) : CloseTerminal(FakeDriver::Driver(), settings);
    EXPECT_EQ(outcome, c.expected) << c.init << " " << c.rc;
    EXPECT_EQ(FakeDriver::sentCtn, 1u);
    if (c.init) {
      EXPECT_EQ(FakeDriver::sentPtn, 2u);
    }
  }
  EXPECT_EQ(InitLogLine(settings), "CT_init (CTn: 1, PTn: 2)\n");
  EXPECT_EQ(CloseLogLine({65535, 7}), "CT_close (CTn: 65535)\n");
}

TEST(PanelExchange, EveryCallIsRecordedForTheAnswerDetails) {
  PanelExchange exchange;
  const std::uint8_t command[] = {0x20, 0x13, 0x00, 0x80};
  FakeDriver::Answer(0, {0x05, 0x90, 0x00}, 60000);
  exchange.Send(FakeDriver::Driver(), 0, kIccStatus, command);
  ASSERT_TRUE(Exchanges().Last());
  EXPECT_EQ(Exchanges().Last()->panel, ExchangePanel::CtBcs);
  EXPECT_EQ(Exchanges().Last()->dad, 1);
  EXPECT_EQ(Exchanges().Last()->sad, 2);
  EXPECT_EQ(Exchanges().Last()->answeredBy, 1);
  EXPECT_EQ(Exchanges().Last()->command, std::vector<std::uint8_t>(command, command + 4));
  EXPECT_EQ(Exchanges().Last()->response.size(), PanelExchange::kResponseCapacity) << "cut to the buffer";

  FakeDriver::Answer(-8, {0x05, 0x90, 0x00});
  exchange.Send(FakeDriver::Driver(), 0, kIccStatus, command);
  EXPECT_EQ(Exchanges().Last()->rc, -8);
  EXPECT_TRUE(Exchanges().Last()->response.empty());
}
