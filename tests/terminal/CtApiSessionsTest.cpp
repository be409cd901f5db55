// The CT-API rules of the terminal layer: sessions by terminal number, ports, arguments, addresses.
#include <gtest/gtest.h>

#include "sim/card/SimCardSlot.h"
#include "terminal/CtApiSessions.h"

namespace {

using terminal::Bytes;
namespace ct = terminal::ct;

class Sessions : public ::testing::Test {
 protected:
  Sessions() { slot.Insert(sim::CardType::Processor); }

  struct Answer {
    int rc;
    Bytes bytes;
    std::uint8_t dad, sad;
  };
  Answer Send(std::uint16_t ctn, Bytes command, std::uint8_t dad = 1, std::uint8_t sad = 2,
              std::uint16_t capacity = 300) {
    std::uint16_t lenr = capacity;
    Bytes response(capacity + 1, 0xEE);
    const int rc = sessions.Data(ctn, &dad, &sad, static_cast<std::uint16_t>(command.size()), command.data(),
                                 &lenr, response.data());
    EXPECT_EQ(response[capacity], 0xEE) << "written past lenr";
    response.resize(rc == ct::kOk ? lenr : 0);
    return {rc, response, dad, sad};
  }

  sim::ManualClock clock;
  sim::SimCardSlot slot{clock};
  terminal::BcsTerminal terminal{slot};
  terminal::CtApiSessions sessions{[this](std::uint16_t pn) { return pn <= 1 ? &terminal : nullptr; }};
};

TEST_F(Sessions, SeveralTerminalNumbersOpenAndCloseOnTheirOwn) {
  EXPECT_EQ(sessions.Close(1), ct::kErrInvalid) << "never opened";
  EXPECT_EQ(Send(1, {0x20, 0x11, 0x00, 0x00}).rc, ct::kErrInvalid) << "data before init";
  EXPECT_EQ(sessions.Init(1, 0), ct::kOk);
  EXPECT_EQ(sessions.Init(1, 1), ct::kErrInvalid) << "already open";
  EXPECT_EQ(sessions.Init(2, 1), ct::kOk);
  EXPECT_EQ(sessions.Init(3, 2), ct::kErrCt) << "no terminal on port 2";
  EXPECT_EQ(sessions.Init(3, 65535), ct::kErrCt);
  EXPECT_EQ(sessions.OpenCount(), 2u);
  EXPECT_EQ(Send(2, {0x20, 0x11, 0x00, 0x00}).rc, ct::kOk);
  EXPECT_EQ(sessions.Close(1), ct::kOk);
  EXPECT_EQ(Send(1, {0x20, 0x11, 0x00, 0x00}).rc, ct::kErrInvalid);
  EXPECT_EQ(Send(2, {0x20, 0x11, 0x00, 0x00}).rc, ct::kOk) << "the other session goes on";
  EXPECT_EQ(sessions.Close(1), ct::kErrInvalid);
  EXPECT_EQ(sessions.Init(1, 0), ct::kOk) << "open again after close";
}

TEST_F(Sessions, TheFirstSessionFindsTheCardNotActivated) {
  ASSERT_EQ(sessions.Init(1, 0), ct::kOk);
  ASSERT_EQ(Send(1, {0x20, 0x11, 0x01, 0x01}).rc, ct::kOk);
  EXPECT_EQ(Send(1, {0x20, 0x13, 0x00, 0x80}).bytes, (Bytes{0x05, 0x90, 0x00}));
  ASSERT_EQ(sessions.Init(2, 1), ct::kOk);
  EXPECT_EQ(Send(2, {0x20, 0x13, 0x00, 0x80}).bytes, (Bytes{0x05, 0x90, 0x00}))
      << "a second session shares it";
  sessions.CloseAll();
  ASSERT_EQ(sessions.Init(1, 0), ct::kOk);
  EXPECT_EQ(Send(1, {0x20, 0x13, 0x00, 0x80}).bytes, (Bytes{0x03, 0x90, 0x00}));
}

TEST_F(Sessions, AddressesOfTheAnswer) {
  ASSERT_EQ(sessions.Init(1, 0), ct::kOk);
  Answer a = Send(1, {0x20, 0x11, 0x01, 0x01});
  EXPECT_EQ(a.sad, 1) << "the terminal answered";
  EXPECT_EQ(a.dad, 2) << "to the host";
  a = Send(1, {0x00, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00}, 0);
  EXPECT_EQ(a.bytes, (Bytes{0x90, 0x00}));
  EXPECT_EQ(a.sad, 0) << "the card answered";
  EXPECT_EQ(a.dad, 2);
}

TEST_F(Sessions, BadArgumentsAreInvalid) {
  ASSERT_EQ(sessions.Init(1, 0), ct::kOk);
  const struct {
    Bytes command;
    std::uint8_t dad, sad;
  } cases[] = {
      {{0x20, 0x11, 0x00, 0x00}, 1, 1},  // source not the host
      {{0x20, 0x11, 0x00, 0x00}, 2, 2},  // destination the host
      {{0x20, 0x11, 0x00, 0x00}, 5, 2},
      {{0x20, 0x11, 0x00}, 1, 2},  // shorter than a header
      {{}, 1, 2},
      {{0x00, 0xA4}, 0, 2},
  };
  for (const auto& c : cases) {
    const Answer a = Send(1, c.command, c.dad, c.sad);
    EXPECT_EQ(a.rc, ct::kErrInvalid) << ::testing::PrintToString(c.command) << int(c.dad) << int(c.sad);
    EXPECT_EQ(a.dad, c.dad) << "addresses untouched on error";
  }

  std::uint8_t dad = 1, sad = 2, response[16];
  std::uint16_t lenr = sizeof response;
  const std::uint8_t command[] = {0x20, 0x11, 0x00, 0x00};
  EXPECT_EQ(sessions.Data(1, nullptr, &sad, 4, command, &lenr, response), ct::kErrInvalid);
  EXPECT_EQ(sessions.Data(1, &dad, nullptr, 4, command, &lenr, response), ct::kErrInvalid);
  EXPECT_EQ(sessions.Data(1, &dad, &sad, 4, nullptr, &lenr, response), ct::kErrInvalid);
  EXPECT_EQ(sessions.Data(1, &dad, &sad, 4, command, nullptr, response), ct::kErrInvalid);
  EXPECT_EQ(sessions.Data(1, &dad, &sad, 4, command, &lenr, nullptr), ct::kErrInvalid);
}

TEST_F(Sessions, AnswerLongerThanLenrIsAMemoryError) {
  ASSERT_EQ(sessions.Init(1, 0), ct::kOk);
  const Bytes resetIcc{0x20, 0x11, 0x01, 0x01};  // twelve ATR bytes and 90 01
  EXPECT_EQ(Send(1, resetIcc, 1, 2, 13).rc, ct::kErrMemory);
  EXPECT_EQ(Send(1, resetIcc, 1, 2, 0).rc, ct::kErrMemory);
  EXPECT_EQ(Send(1, resetIcc, 1, 2, 14).bytes.size(), 14u) << "exactly enough";
}

TEST_F(Sessions, LongCommandsAreAnsweredNotOverrun) {
  ASSERT_EQ(sessions.Init(1, 0), ct::kOk);
  Bytes huge(65535, 0x20);
  EXPECT_EQ(Send(1, huge).bytes, (Bytes{0x67, 0x00}));
  huge[4] = 0x10;  // Lc 16 with far more behind it
  EXPECT_EQ(Send(1, huge).bytes, (Bytes{0x67, 0x00}));
}

}  // namespace
