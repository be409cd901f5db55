// The PC/SC bridge through its CT-API over the fake PC/SC: the CT-BCS commands by card state, waits
// with cards moving, PC/SC faults as CT-API results, and the choice of reader.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>

#include "drivers/pcsc/PcscBridge.h"
#include "tests/drivers/pcsc/FakePcsc.h"
#include "tests/terminal/CommandForms.h"

namespace {

using namespace std::chrono_literals;
using pcsc::Bytes;
using pcsc_test::FakePcsc;
namespace r = pcsc::result;

const Bytes kAtr{0x3B, 0x95, 0x13, 0x81, 0x01, 0x80, 0x73, 0xFF, 0x01, 0x00, 0x0B};
const Bytes kHistorical{0x80, 0x73, 0xFF, 0x01, 0x00};

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Timer(Bytes command, std::uint8_t seconds) {
  return Cat(std::move(command), {0x03, 0x80, 0x01, seconds});
}

class Bridge : public ::testing::Test {
 protected:
  int Init(std::uint16_t pn = 0) { return w->bridge.Init(1, pn); }
  // The answer, with rc and the source address kept for the test.
  Bytes Send(Bytes command, std::uint8_t destination = 1, std::uint16_t capacity = 300) {
    std::uint8_t dad = destination, sad = 2;
    std::uint16_t lenr = capacity;
    Bytes response(capacity);
    rc = w->bridge.Data(1, &dad, &sad, static_cast<std::uint16_t>(command.size()), command.data(), &lenr,
                        response.data());
    source = sad;
    response.resize(rc == 0 ? lenr : 0);
    return response;
  }
  std::string Version() {
    char text[121] = {};
    w->bridge.Version(text, 0);
    return text;
  }
  // Card absent, present or powered (activated by REQUEST ICC).
  void Begin(int state) {
    w->fake.readers[0].present = state > 0;
    ASSERT_EQ(Init(), 0);
    if (state == 2) {
      ASSERT_EQ(Send({0x20, 0x12, 0x01, 0x00}), (Bytes{0x90, 0x01}));
    }
  }

  struct World {
    FakePcsc fake;
    pcsc::PcscBridge bridge{fake, nullptr, [this] { return fake.Now(); }};
  };
  // A new PC/SC and driver, for each case of a table.
  void Fresh() { w = std::make_unique<World>(); }

  std::unique_ptr<World> w = std::make_unique<World>();
  int rc = 0;
  std::uint8_t source = 0;
};

TEST_F(Bridge, CommandsByCardState) {
  const Bytes manufacturer =
      Cat(Bytes{'F', 'a', 'k', 'e', ' ', 'R', 'e', 'a', 'd', 'e', 'r', ' ', '0', ' ', ' '}, {0x90, 0x00});
  struct Case {
    const char* what;
    Bytes command;
    std::uint8_t destination;
    Bytes absent, present, powered;
  };
  const Case cases[] = {
      {"RESET CT", {0x20, 0x11, 0x00, 0x00}, 1, {0x90, 0x00}, {0x90, 0x00}, {0x90, 0x00}},
      {"RESET ICC with ATR",
       {0x20, 0x11, 0x01, 0x01, 0x00},
       1,
       {0x64, 0xA1},
       Cat(kAtr, {0x90, 0x01}),
       Cat(kAtr, {0x90, 0x01})},
      {"REQUEST ICC with historical bytes",
       {0x20, 0x12, 0x01, 0x02, 0x00},
       1,
       {0x62, 0x00},
       Cat(kHistorical, {0x90, 0x01}),
       {0x62, 0x01}},
      {"GET STATUS of the card",
       {0x20, 0x13, 0x00, 0x80, 0x00},
       1,
       {0x00, 0x90, 0x00},
       {0x03, 0x90, 0x00},
       {0x05, 0x90, 0x00}},
      {"GET STATUS manufacturer",
       {0x20, 0x13, 0x00, 0x46, 0x00},
       1,
       manufacturer,
       manufacturer,
       manufacturer},
      {"EJECT ICC", {0x20, 0x15, 0x01, 0x00}, 1, {0x90, 0x00}, {0x90, 0x00}, {0x90, 0x00}},
      {"GET CHALLENGE to the card",
       {0x00, 0x84, 0x00, 0x00, 0x08},
       0,
       {0x64, 0xA1},
       {0x64, 0xA1},
       {0x01, 0x02, 0x90, 0x00}},
  };
  for (const Case& c : cases) {
    for (int state = 0; state < 3; ++state) {
      SCOPED_TRACE(std::string(c.what) + " with the card " +
                   (state == 0   ? "absent"
                    : state == 1 ? "present"
                                 : "powered"));
      Fresh();
      w->fake.card = [](const Bytes&) { return Bytes{0x01, 0x02, 0x90, 0x00}; };
      Begin(state);
      EXPECT_EQ(Send(c.command, c.destination), state == 0 ? c.absent : state == 1 ? c.present : c.powered);
      EXPECT_EQ(rc, 0);
      w->bridge.Close(1);
      EXPECT_EQ(w->fake.openContexts, 0) << "CT_close gives everything back";
    }
  }
}

TEST_F(Bridge, EveryCommandFormOfClients) {
  for (const terminal_test::CommandForm& form : terminal_test::CommandForms()) {
    SCOPED_TRACE(form.what);
    Fresh();
    Begin(1);
    EXPECT_EQ(Send(form.command), terminal_test::ExpectedAnswer(form, kAtr, kHistorical));
    EXPECT_EQ(rc, 0);
  }
}

TEST_F(Bridge, CardAnswersPassRawWithTheActiveProtocol) {
  w->fake.readers[0].protocol = pcsc::Protocol::T0;
  w->fake.card = [](const Bytes&) { return Bytes{0x61, 0x10}; };
  Begin(2);
  EXPECT_EQ(Send({0x00, 0xA4, 0x04, 0x00, 0x02, 0x3F, 0x00, 0x00}, 0), (Bytes{0x61, 0x10}));
  EXPECT_EQ(source, 0) << "from the card";
  EXPECT_EQ(w->fake.calls.back(), "Transmit T0");
}

TEST_F(Bridge, ResponseLongerThanTheBufferIsErrMemory) {
  w->fake.card = [](const Bytes&) { return Bytes(258, 0xAB); };
  Begin(2);
  std::uint8_t dad = 0, sad = 2;
  std::uint16_t lenr = 257;
  Bytes command{0x00, 0xB0, 0x00, 0x00, 0x00};
  Bytes response(lenr + 1, 0x5A);
  EXPECT_EQ(w->bridge.Data(1, &dad, &sad, 5, command.data(), &lenr, response.data()), -11);
  EXPECT_EQ(response, Bytes(258, 0x5A)) << "nothing written";
}

TEST_F(Bridge, WaitsEndWhenTheCardMoves) {
  Begin(0);
  w->fake.moves.push_back({3s, "Fake Reader 0", true});
  EXPECT_EQ(Send(Timer({0x20, 0x12, 0x01, 0x01}, 10)), Cat(kAtr, {0x90, 0x01}));
  EXPECT_EQ(w->fake.Now(), 3s);

  w->fake.moves.push_back({4s, "Fake Reader 0", false});
  EXPECT_EQ(Send(Timer({0x20, 0x15, 0x01, 0x00}, 5)), (Bytes{0x90, 0x01}));
  EXPECT_EQ(w->fake.Now(), 4s);

  EXPECT_EQ(Send(Timer({0x20, 0x12, 0x01, 0x00}, 2)), (Bytes{0x62, 0x00}));
  EXPECT_EQ(w->fake.Now(), 6s);

  w->fake.readers[0].present = true;
  EXPECT_EQ(Send(Timer({0x20, 0x15, 0x01, 0x00}, 1)), (Bytes{0x62, 0x00})) << "nobody took the card";
  EXPECT_EQ(w->fake.Now(), 7s);

  // The same with the waiting time as one plain byte.
  w->fake.moves.push_back({9s, "Fake Reader 0", false});
  EXPECT_EQ(Send({0x20, 0x15, 0x01, 0x00, 0x01, 0x05}), (Bytes{0x90, 0x01}));
  EXPECT_EQ(w->fake.Now(), 9s);
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x00, 0x01, 0x03, 0x00}), (Bytes{0x62, 0x00}));
  EXPECT_EQ(w->fake.Now(), 12s);
  w->fake.moves.push_back({13s, "Fake Reader 0", true});
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x01, 0x01, 0x05}), Cat(kAtr, {0x90, 0x01}));
  EXPECT_EQ(w->fake.Now(), 13s);
}

TEST_F(Bridge, WaitUpTo255SecondsWhileOtherEventsCome) {
  Begin(0);
  w->fake.readers.push_back({"Other Reader"});
  w->fake.moves = {{10s, "Other Reader", true}, {200s, "Fake Reader 0", true}};
  EXPECT_EQ(Send(Timer({0x20, 0x12, 0x01, 0x00}, 255)), (Bytes{0x90, 0x01}));
  EXPECT_EQ(w->fake.Now(), 200s);
}

TEST_F(Bridge, EjectFallsBackToPowerOffWhereTheReaderCannotEject) {
  w->fake.readers[0].canEject = false;
  Begin(2);
  EXPECT_EQ(Send({0x20, 0x15, 0x01, 0x00}), (Bytes{0x90, 0x00}));
  const std::vector<std::string> tail(w->fake.calls.end() - 2, w->fake.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Disconnect Eject", "Disconnect Unpower"}));
}

TEST_F(Bridge, ResetIccPowersTheCardOffAndOn) {
  Begin(2);
  w->fake.calls.clear();
  EXPECT_EQ(Send({0x20, 0x11, 0x01, 0x00}), (Bytes{0x90, 0x01}));
  EXPECT_NE(std::find(w->fake.calls.begin(), w->fake.calls.end(), "Disconnect Unpower"), w->fake.calls.end());
  EXPECT_NE(std::find(w->fake.calls.begin(), w->fake.calls.end(), "Connect"), w->fake.calls.end());
}

TEST_F(Bridge, SwappedCardIsANewCardAndRequestIccReconnects) {
  Begin(2);
  w->fake.Move("Fake Reader 0", false);
  w->fake.Move("Fake Reader 0", true);
  EXPECT_EQ(Send({0x20, 0x13, 0x00, 0x80, 0x00}), (Bytes{0x03, 0x90, 0x00}));
  EXPECT_EQ(Send({0x00, 0x84, 0x00, 0x00, 0x08}, 0), (Bytes{0x64, 0xA1}));
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x01, 0x00}), Cat(kAtr, {0x90, 0x01}));
  EXPECT_EQ(Send({0x00, 0x84, 0x00, 0x00, 0x08}, 0), (Bytes{0x90, 0x00}));
}

TEST_F(Bridge, StorageCardsAnswerAsMemoryCards) {
  w->fake.readers[0].atr = {0x3B, 0x8F, 0x80, 0x01, 0x80, 0x4F, 0x0C, 0xA0, 0x00, 0x00,
                            0x03, 0x06, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x6A};
  Begin(1);
  EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x00, 0x00}), (Bytes{0x90, 0x00}));
}

struct FaultCase {
  const char* what;
  const char* call;
  pcsc::Result result;
  Bytes command;
  std::uint8_t destination;
  int rc;
  Bytes answer;  // when rc is 0
};

TEST_F(Bridge, PcscFaultsDuringASession) {
  const Bytes request = Timer({0x20, 0x12, 0x01, 0x00}, 5);
  const Bytes challenge{0x00, 0x84, 0x00, 0x00, 0x08};
  const FaultCase cases[] = {
      {"card pulled during an exchange", "Transmit", r::kRemovedCard, challenge, 0, 0, {0x64, 0xA1}},
      {"reader unplugged during an exchange", "Transmit", r::kReaderUnavailable, challenge, 0, -10, {}},
      {"service stopped during an exchange", "Transmit", r::kServiceStopped, challenge, 0, -10, {}},
      {"reader answers nothing", "Transmit", r::kCommError, challenge, 0, -10, {}},
      {"card used exclusively elsewhere", "Connect", r::kSharingViolation, request, 1, -10, {}},
      {"mute card", "Connect", r::kUnresponsiveCard, request, 1, 0, {0x64, 0x00}},
      {"service stopped during a wait", "GetStatusChange", r::kServiceStopped, request, 1, -10, {}},
      {"reader unplugged before a wait", "GetStatusChange", r::kUnknownReader, request, 1, -10, {}},
      {"no service at the next call", "EstablishContext", r::kNoService, request, 1, -10, {}},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.what);
    Fresh();
    const bool needsPower = c.destination == 0;
    Begin(needsPower ? 2 : 0);
    if (!needsPower) w->fake.Move("Fake Reader 0", true);
    w->fake.failures.insert({c.call, c.result});
    const Bytes answer = Send(c.command, c.destination);
    EXPECT_EQ(rc, c.rc);
    if (c.rc == 0) {
      EXPECT_EQ(answer, c.answer);
    }
    // Once the fault is gone, REQUEST ICC works again.
    w->fake.failures.clear();
    EXPECT_EQ(Send({0x20, 0x12, 0x01, 0x00, 0x00}), (Bytes{0x90, 0x01}));
    EXPECT_EQ(rc, 0);
  }
}

TEST_F(Bridge, ReaderVanishingDuringAWaitEndsItAsAFault) {
  Begin(0);
  w->fake.readers.clear();
  const auto before = w->fake.Now();
  Send(Timer({0x20, 0x12, 0x01, 0x00}, 30));
  EXPECT_EQ(rc, -10);
  EXPECT_EQ(w->fake.Now(), before) << "no waiting for a reader that is gone";
}

TEST_F(Bridge, CloseFromAnotherThreadEndsAWait) {
  Begin(0);
  w->fake.blockingWaits = true;
  auto waiting = std::async(std::launch::async, [&] { return Send(Timer({0x20, 0x12, 0x01, 0x00}, 255)); });
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(w->bridge.Close(1), 0);
  ASSERT_EQ(waiting.wait_for(5s), std::future_status::ready);
  EXPECT_EQ(waiting.get(), (Bytes{0x62, 0x00}));
  EXPECT_EQ(w->fake.openContexts, 0);
}

TEST(BridgeInit, ChoiceOfReaderAndWhyThereIsNone) {
  struct Case {
    const char* what;
    std::vector<std::string> readers;
    std::vector<bool> cards;
    std::uint16_t pn;
    std::string setting;
    std::string version;  // after "PC/SC: "
    const char* failing = nullptr;
    pcsc::Result failure = r::kSuccess;
  };
  const Case cases[] = {
      {"auto takes the reader with a card", {"A", "B"}, {false, true}, 0, "", "B"},
      {"auto takes the first without any card", {"A", "B"}, {false, false}, 0, "", "A"},
      {"port 2 is the second reader", {"A", "B"}, {true, false}, 2, "", "B"},
      {"port past the list", {"A", "B"}, {true, true}, 3, "", "no reader at port 3 (2 readers)"},
      {"name part regardless of case",
       {"ACME 1", "Virtual PCD 00 00", "Virtual PCD 00 01"},
       {true, false, true},
       1,
       "virtual pcd",
       "Virtual PCD 00 01"},
      {"name matching none", {"A"}, {true}, 0, "Omni", "no reader named like \"Omni\""},
      {"no readers", {}, {}, 0, "", "no reader"},
      {"no service", {"A"}, {true}, 0, "", "no PC/SC service running", "EstablishContext", r::kNoService},
      {"service gone while listing",
       {"A"},
       {true},
       0,
       "",
       "no PC/SC service running",
       "ListReaders",
       r::kServiceStopped},
      {"other error", {"A"}, {true}, 0, "", "error 0x80100013", "ListReaders", r::kCommError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePcsc fake;
    fake.readers.clear();
    for (std::size_t i = 0; i < c.readers.size(); ++i) {
      fake.readers.push_back({c.readers[i]});
      fake.readers.back().present = c.cards[i];
    }
    if (c.failing) fake.failures.insert({c.failing, c.failure});
    pcsc::PcscBridge bridge(fake, [&] { return c.setting; });
    const bool found = std::find(c.readers.begin(), c.readers.end(), c.version) != c.readers.end();
    EXPECT_EQ(bridge.Init(1, c.pn), found ? 0 : -8);
    char text[121] = {};
    EXPECT_EQ(bridge.Version(text, 0), 0);
    EXPECT_EQ(std::string(text), "PC/SC: " + c.version);
    bridge.Close(1);
    EXPECT_EQ(fake.openContexts, 0);
  }
}

TEST(BridgeInit, LongOddReaderNames) {
  FakePcsc fake;
  const std::string name = "Lecteur \xE9tendu\t" + std::string(150, 'x');
  fake.readers = {{name}};
  pcsc::PcscBridge bridge(fake, nullptr);
  ASSERT_EQ(bridge.Init(1, 0), 0);
  char text[pcsc::PcscBridge::kVersionCapacity + 1];
  text[pcsc::PcscBridge::kVersionCapacity] = '#';
  bridge.Version(text, 0);
  EXPECT_EQ(std::string(text, 120), ("PC/SC: " + name).substr(0, 120));
  EXPECT_EQ(text[120], '#') << "cut at the buffer's 120 bytes";

  std::uint8_t dad = 1, sad = 2;
  std::uint16_t lenr = 64;
  Bytes command{0x20, 0x13, 0x00, 0x46, 0x00}, response(lenr);
  ASSERT_EQ(bridge.Data(1, &dad, &sad, 5, command.data(), &lenr, response.data()), 0);
  response.resize(lenr);
  EXPECT_EQ(std::string(response.begin(), response.end() - 2), "Lecteur .tendu.");
  EXPECT_EQ(bridge.Init(1, 0), -1) << "terminal number already open";
  EXPECT_EQ(bridge.Close(2), -1);
  EXPECT_EQ(bridge.Version(nullptr, 0), -1);
}

TEST(BridgeInit, TwoTerminalNumbersShareAReader) {
  FakePcsc fake;
  fake.readers[0].present = true;
  pcsc::PcscBridge bridge(fake, nullptr);
  ASSERT_EQ(bridge.Init(1, 0), 0);
  ASSERT_EQ(bridge.Init(2, 1), 0);
  std::uint8_t dad = 1, sad = 2;
  std::uint16_t lenr = 16;
  Bytes request{0x20, 0x12, 0x01, 0x00}, response(lenr);
  ASSERT_EQ(bridge.Data(1, &dad, &sad, 4, request.data(), &lenr, response.data()), 0);
  EXPECT_EQ(Bytes(response.begin(), response.begin() + lenr), (Bytes{0x90, 0x01}));
  EXPECT_EQ(bridge.Close(1), 0);
  EXPECT_GT(fake.openContexts, 0) << "still in use by terminal number 2";
  EXPECT_EQ(bridge.Close(2), 0);
  EXPECT_EQ(fake.openContexts, 0);
}

TEST(ReaderSetting, FromTheSettingsFile) {
  EXPECT_EQ(pcsc::ReaderSetting("[pcsc]\nreader = \"Virtual PCD 00\" \n"), "Virtual PCD 00");
  EXPECT_EQ(pcsc::ReaderSetting("[Card]\nReader=x\n"), "");
  EXPECT_EQ(pcsc::ReaderSetting(""), "");
}

}  // namespace
