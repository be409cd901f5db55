// The CT-BCS terminal over the simulated slot: every command by card state, and the timers.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sim/card/SimCardSlot.h"
#include "terminal/BcsTerminal.h"
#include "tests/terminal/CommandForms.h"

namespace {

using terminal::Bytes;
using terminal::IccStatus;
using namespace std::chrono_literals;

const Bytes kAsyncAtr{0x3B, 0x68, 0x00, 0x00, 0x80, 0x4B, 0x4C, 0x56, 0x53, 0x49, 0x4D, 0x01};
const Bytes kAsyncHistorical{0x80, 0x4B, 0x4C, 0x56, 0x53, 0x49, 0x4D, 0x01};
const Bytes kSyncAtr{0xA2, 0x13, 0x10, 0x91};

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

enum class Start { Absent, Inserted, Activated, InsertedSync, ActivatedSync };

class Terminal : public ::testing::Test {
 protected:
  void Begin(Start start) {
    slot.Remove();
    t.Reset();
    if (start == Start::Absent) return;
    const bool sync = start == Start::InsertedSync || start == Start::ActivatedSync;
    slot.Insert(sync ? sim::CardType::Memory : sim::CardType::Processor);
    if (start == Start::Activated || start == Start::ActivatedSync) Send({0x20, 0x11, 0x01, 0x00});
  }
  Bytes Send(const Bytes& command, std::uint8_t destination = terminal::kUnitTerminal) {
    const terminal::TerminalAnswer answer = t.Process(destination, command);
    source = answer.source;
    return answer.bytes;
  }

  sim::ManualClock clock;
  sim::SimCardSlot slot{clock};
  terminal::BcsTerminal t{slot};
  std::uint8_t source = 0xFF;
};

TEST_F(Terminal, EachCommandByCardState) {
  const struct {
    Start start;
    Bytes command;
    Bytes answer;
    IccStatus after;
  } cases[] = {
      // no card
      {Start::Absent, {0x20, 0x11, 0x00, 0x00}, {0x90, 0x00}, IccStatus::NoCard},
      {Start::Absent, {0x20, 0x11, 0x01, 0x01}, {0x64, 0xA1}, IccStatus::NoCard},
      {Start::Absent, {0x20, 0x10, 0x01, 0x01, 0x00}, {0x64, 0xA1}, IccStatus::NoCard},
      {Start::Absent, {0x20, 0x12, 0x01, 0x01}, {0x62, 0x00}, IccStatus::NoCard},
      {Start::Absent, {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x00}, {0x62, 0x00}, IccStatus::NoCard},
      {Start::Absent, {0x20, 0x13, 0x00, 0x80}, {0x00, 0x90, 0x00}, IccStatus::NoCard},
      {Start::Absent, {0x20, 0x15, 0x01, 0x00, 0x03, 0x80, 0x01, 0x05}, {0x90, 0x00}, IccStatus::NoCard},
      // an asynchronous card, not activated
      {Start::Inserted, {0x20, 0x13, 0x00, 0x80}, {0x03, 0x90, 0x00}, IccStatus::NotConnected},
      {Start::Inserted, {0x20, 0x13, 0x00, 0x80, 0x00}, {0x03, 0x90, 0x00}, IccStatus::NotConnected},
      {Start::Inserted, {0x20, 0x11, 0x01, 0x01}, Cat(kAsyncAtr, {0x90, 0x01}), IccStatus::Connected},
      {Start::Inserted, {0x20, 0x11, 0x01, 0x00}, {0x90, 0x01}, IccStatus::Connected},
      {Start::Inserted, {0x20, 0x11, 0x01, 0x02}, Cat(kAsyncHistorical, {0x90, 0x01}), IccStatus::Connected},
      {Start::Inserted, {0x20, 0x10, 0x01, 0x01, 0x00}, Cat(kAsyncAtr, {0x90, 0x01}), IccStatus::Connected},
      {Start::Inserted,
       {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x05},
       Cat(kAsyncAtr, {0x90, 0x01}),
       IccStatus::Connected},
      {Start::Inserted,
       {0x20, 0x12, 0x01, 0x02, 0x00},
       Cat(kAsyncHistorical, {0x90, 0x01}),
       IccStatus::Connected},
      {Start::Inserted,
       {0x20, 0x15, 0x01, 0x00, 0x03, 0x80, 0x01, 0x00},
       {0x90, 0x00},
       IccStatus::NotConnected},
      // an asynchronous card, activated
      {Start::Activated, {0x20, 0x13, 0x00, 0x80}, {0x05, 0x90, 0x00}, IccStatus::Connected},
      {Start::Activated,
       {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x05},
       {0x62, 0x01},
       IccStatus::Connected},
      {Start::Activated, {0x20, 0x11, 0x01, 0x01}, Cat(kAsyncAtr, {0x90, 0x01}), IccStatus::Connected},
      {Start::Activated, {0x20, 0x11, 0x00, 0x00}, {0x90, 0x00}, IccStatus::NotConnected},
      {Start::Activated, {0x20, 0x11, 0x00, 0x01}, {0x90, 0x00}, IccStatus::NotConnected},
      {Start::Activated, {0x20, 0x11, 0x00, 0x02, 0x00}, {0x90, 0x00}, IccStatus::NotConnected},
      {Start::Activated, {0x20, 0x10, 0x00, 0x00, 0x00}, {0x90, 0x00}, IccStatus::NotConnected},
      {Start::Activated, {0x20, 0x15, 0x01, 0x01}, {0x90, 0x00}, IccStatus::NotConnected},
      // a synchronous card
      {Start::InsertedSync, {0x20, 0x11, 0x01, 0x01}, Cat(kSyncAtr, {0x90, 0x00}), IccStatus::Connected},
      {Start::InsertedSync, {0x20, 0x11, 0x01, 0x02}, {0x90, 0x00}, IccStatus::Connected},
      {Start::InsertedSync,
       {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x01},
       Cat(kSyncAtr, {0x90, 0x00}),
       IccStatus::Connected},
      {Start::ActivatedSync, {0x20, 0x12, 0x01, 0x01}, {0x62, 0x01}, IccStatus::Connected},
      {Start::ActivatedSync, {0x20, 0x13, 0x00, 0x80}, {0x05, 0x90, 0x00}, IccStatus::Connected},
      // malformed commands change nothing
      {Start::Activated, {0x21, 0x11, 0x00, 0x00}, {0x6E, 0x00}, IccStatus::Connected},
      {Start::Activated, {0x00, 0xA4, 0x00, 0x00}, {0x6E, 0x00}, IccStatus::Connected},
      {Start::Activated, {0x20, 0x99, 0x00, 0x00}, {0x6D, 0x00}, IccStatus::Connected},
      {Start::Activated, {0x20, 0x10, 0x00, 0x00}, {0x6D, 0x00}, IccStatus::Connected},
      {Start::Activated, {0x20, 0x11, 0x02, 0x00}, {0x6A, 0x00}, IccStatus::Connected},
      {Start::Activated, {0x20, 0x11, 0x00, 0x03}, {0x6A, 0x00}, IccStatus::Connected},
      {Start::Activated, {0x20, 0x13, 0x01, 0x80}, {0x6A, 0x00}, IccStatus::Connected},
      {Start::Inserted, {0x20, 0x12, 0x02, 0x01}, {0x6A, 0x00}, IccStatus::NotConnected},
      {Start::Inserted, {0x20, 0x12, 0x01, 0x03}, {0x6A, 0x00}, IccStatus::NotConnected},
      {Start::Inserted,
       {0x20, 0x12, 0x01, 0x01, 0x04, 0x80, 0x01, 0x05},
       {0x67, 0x00},
       IccStatus::NotConnected},
      {Start::Activated, {0x20, 0x15, 0x01, 0x08}, {0x6A, 0x00}, IccStatus::Connected},
      {Start::Activated, {0x20, 0x15, 0x00, 0x00}, {0x6A, 0x00}, IccStatus::Connected},
      {Start::Activated, {0x20, 0x13, 0x00, 0x80, 0x01, 0x00}, {0x67, 0x00}, IccStatus::Connected},
      {Start::Activated, {0x20, 0x15, 0x01, 0x00, 0x02, 0x80, 0x01}, {0x67, 0x00}, IccStatus::Connected},
      {Start::Activated,
       {0x20, 0x15, 0x01, 0x00, 0x04, 0x80, 0x02, 0x00, 0x05},
       {0x6A, 0x00},
       IccStatus::Connected},
      {Start::Activated, {0x20, 0x11, 0x00, 0x00, 0x00, 0x00, 0x01}, {0x67, 0x00}, IccStatus::Connected},
  };
  for (const auto& c : cases) {
    Begin(c.start);
    EXPECT_EQ(Send(c.command), c.answer)
        << "start " << int(c.start) << ", " << ::testing::PrintToString(c.command);
    EXPECT_EQ(source, terminal::kUnitTerminal);
    EXPECT_EQ(t.Status(), c.after) << "start " << int(c.start) << ", " << ::testing::PrintToString(c.command);
  }
}

TEST_F(Terminal, EveryCommandFormOfClients) {
  for (const terminal_test::CommandForm& form : terminal_test::CommandForms()) {
    Begin(Start::Inserted);
    EXPECT_EQ(Send(form.command), terminal_test::ExpectedAnswer(form, kAsyncAtr, kAsyncHistorical))
        << form.what;
  }
}

// Under the sanitizers: no data field overruns, whatever its length and content.
TEST_F(Terminal, AnyDataFieldGetsAStatusWord) {
  for (std::uint8_t ins : {0x10, 0x11, 0x12, 0x13, 0x15}) {
    for (std::uint8_t fill : {0x00, 0x01, 0x50, 0x80, 0xFF}) {
      for (std::size_t lc = 1; lc <= 255; ++lc) {
        Begin(Start::Absent);
        Bytes command{0x20, ins, std::uint8_t(ins == 0x13 ? 0x00 : 0x01), 0x00, std::uint8_t(lc)};
        command.resize(5 + lc, fill);
        const Bytes answer = Send(command);
        ASSERT_GE(answer.size(), 2u);
        const std::uint8_t sw1 = answer[answer.size() - 2];
        EXPECT_TRUE(sw1 == 0x90 || sw1 == 0x62 || sw1 == 0x64 || sw1 == 0x67 || sw1 == 0x6A || sw1 == 0x6D)
            << ::testing::PrintToString(command);
      }
    }
  }
}

TEST_F(Terminal, NoSimulatedAtrHoldsTheSuccessStatusWords) {
  for (const Bytes& atr : {kAsyncAtr, kAsyncHistorical, kSyncAtr}) {
    for (std::size_t i = 0; i + 1 < atr.size(); ++i) {
      EXPECT_FALSE(atr[i] == 0x90 && (atr[i + 1] == 0x00 || atr[i + 1] == 0x01));
    }
  }
  // and the constants above are what the cards give
  Begin(Start::InsertedSync);
  EXPECT_EQ(Send({0x20, 0x11, 0x01, 0x01}), Cat(kSyncAtr, {0x90, 0x00}));
}

TEST_F(Terminal, CardCommandsNeedAnActivatedCard) {
  const Bytes selectMf{0x00, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00};
  for (Start start : {Start::Absent, Start::Inserted, Start::InsertedSync}) {
    Begin(start);
    EXPECT_EQ(Send(selectMf, terminal::kUnitCard), (Bytes{0x64, 0xA1}));
    EXPECT_EQ(source, terminal::kUnitTerminal) << "the terminal answers for the missing card";
  }
  Begin(Start::Activated);
  EXPECT_EQ(Send(selectMf, terminal::kUnitCard), (Bytes{0x90, 0x00}));
  EXPECT_EQ(source, terminal::kUnitCard);

  slot.Remove();  // taken out while activated
  EXPECT_EQ(Send(selectMf, terminal::kUnitCard), (Bytes{0x64, 0xA1}));
  EXPECT_EQ(t.Status(), IccStatus::NoCard);

  Begin(Start::Activated);
  slot.Remove();
  slot.Insert(sim::CardType::Processor);  // out and in again: a new card, not activated
  EXPECT_EQ(t.Status(), IccStatus::NotConnected);
  EXPECT_EQ(Send(selectMf, terminal::kUnitCard), (Bytes{0x64, 0xA1}));
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x00}), (Bytes{0x90, 0x01})) << "not already active";
}

TEST_F(Terminal, GetStatusRawByDefaultOrAsDataObjects) {
  Begin(Start::Inserted);
  t.SetManufacturer("DEZMT");
  const Bytes data{'D', 'E', 'Z', 'M', 'T', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  EXPECT_EQ(Send({0x20, 0x13, 0x00, 0x46}), Cat(data, {0x90, 0x00}));
  t.SetManufacturer("DEZMTSIMCT01.00 and more");
  EXPECT_EQ(Send({0x20, 0x13, 0x00, 0x46, 0x00}).size(), 17u) << "cut to 15";

  t.SetStatusObjects(true);
  t.SetManufacturer("DEZMT");
  EXPECT_EQ(Send({0x20, 0x13, 0x00, 0x46}), Cat(Cat({0x46, 0x0F}, data), {0x90, 0x00}));
  EXPECT_EQ(Send({0x20, 0x13, 0x00, 0x80}), (Bytes{0x80, 0x01, 0x03, 0x90, 0x00}));
  for (bool objects : {true, false}) {
    t.SetStatusObjects(objects);
    EXPECT_EQ(Send({0x20, 0x13, 0x00, 0x81}), (Bytes{0x81, 0x01, 0x01, 0x90, 0x00}))
        << "a data object either way";
  }
}

TEST_F(Terminal, RequestWaitsForACardUpToItsTime) {
  Begin(Start::Absent);
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x05}), (Bytes{0x62, 0x00}));
  EXPECT_EQ(clock.Now(), 5s) << "waited the whole time";

  slot.SetAutomation({1500ms, std::nullopt});
  const auto before = clock.Now();
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x05}), Cat(kAsyncAtr, {0x90, 0x01}));
  EXPECT_EQ(clock.Now() - before, 1500ms) << "answered when the card came";

  Begin(Start::Absent);
  slot.SetAutomation({6s, std::nullopt});
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x05}), (Bytes{0x62, 0x00}))
      << "the card would come too late";
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x01}), (Bytes{0x62, 0x00})) << "no timer: no waiting, no automatic card";
}

TEST_F(Terminal, RequestWaitsAsLongAsEitherFormOfTheTimerSays) {
  const struct {
    Bytes data;
    std::chrono::milliseconds waited;
  } cases[] = {
      {{0x01, 0x03}, 3s},                                         // the plain byte
      {{0x01, 0x00}, 0s},                                         // the plain byte, no waiting
      {{0x08, 0x50, 0x03, 'I', 'C', 'C', 0x80, 0x01, 0x02}, 2s},  // the timer among other objects
      {{0x06, 0x80, 0x01, 0x02, 0x80, 0x01, 0x04}, 4s},           // the last timer counts
      {{0x03, 0xA5, 0x01, 0x07}, 0s},                             // no timer
      {{0x01, 0xFF}, 255s},
  };
  for (const auto& c : cases) {
    Begin(Start::Absent);
    const auto before = clock.Now();
    EXPECT_EQ(Send(Cat({0x20, 0x12, 0x01, 0x01}, c.data)), (Bytes{0x62, 0x00}));
    EXPECT_EQ(clock.Now() - before, c.waited) << ::testing::PrintToString(c.data);
  }
  Begin(Start::Absent);
  slot.SetAutomation({1500ms, std::nullopt});
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x01, 0x01, 0x05, 0x00}), Cat(kAsyncAtr, {0x90, 0x01}));
}

TEST_F(Terminal, EjectWaitsForTheCardToBeTaken) {
  Begin(Start::Activated);
  slot.SetAutomation({std::nullopt, 2s});
  EXPECT_EQ(Send({0x20, 0x15, 0x01, 0x01, 0x03, 0x80, 0x01, 0x01}), (Bytes{0x62, 0x00}));
  EXPECT_EQ(t.Status(), IccStatus::NotConnected) << "pushed out, still there";
  EXPECT_TRUE(slot.State().ejected);

  EXPECT_EQ(Send({0x20, 0x15, 0x01, 0x00, 0x03, 0x80, 0x01, 0x05}), (Bytes{0x90, 0x01}));
  EXPECT_EQ(t.Status(), IccStatus::NoCard);
  EXPECT_EQ(Send({0x20, 0x15, 0x01, 0x00, 0x03, 0x80, 0x01, 0x05}), (Bytes{0x90, 0x00}))
      << "no card to eject";

  Begin(Start::Activated);
  slot.SetAutomation({});
  const auto before = clock.Now();
  EXPECT_EQ(Send({0x20, 0x15, 0x01, 0x00, 0x01, 0x03}), (Bytes{0x62, 0x00})) << "the plain byte";
  EXPECT_EQ(clock.Now() - before, 3s);
  slot.SetAutomation({std::nullopt, 1s});
  EXPECT_EQ(Send({0x20, 0x15, 0x01, 0x00, 0x01, 0x03, 0x00}), (Bytes{0x90, 0x01}));
}

TEST_F(Terminal, RequestReturnsWhenAPersonInsertsACard) {
  sim::RealClock realClock;
  sim::SimCardSlot realSlot(realClock);
  terminal::BcsTerminal realTerminal(realSlot);
  std::thread person([&] {
    std::this_thread::sleep_for(50ms);
    realSlot.Insert(sim::CardType::Memory);
  });
  const auto start = std::chrono::steady_clock::now();
  const auto answer =
      realTerminal.Process(terminal::kUnitTerminal, Bytes{0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x0A});
  const auto waited = std::chrono::steady_clock::now() - start;
  person.join();
  EXPECT_EQ(answer.bytes, Cat(kSyncAtr, {0x90, 0x00}));
  EXPECT_GE(waited, 40ms);
  EXPECT_LT(waited, 5s) << "answered on insertion, not at the end of the ten seconds";
}

}  // namespace
