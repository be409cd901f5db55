#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "firmware/ReaderLink.h"
#include "sim/halvex/SimBus.h"
#include "tests/firmware/HalvexFixture.h"

using halvex::BlockResult;
using halvex::ReaderLink;
using halvexsim::CardConfig;
using halvexsim::Fault;
using halvexsim::SimBus;
using halvextest::Trace;
using halvextest::WritesTo;

namespace {

constexpr uint16_t Base = 0x300;

// What one wait of n ms costs on the simulated clock: the start reading,
// n + 1 readings inside the wait, one reading to leave it.
constexpr uint32_t Pause(uint32_t ms) { return ms + 2; }

std::vector<uint8_t> Bytes(size_t count, uint8_t first) {
  std::vector<uint8_t> v(count);
  for (size_t i = 0; i < count; ++i) v[i] = static_cast<uint8_t>(first + i);
  return v;
}

std::vector<uint8_t> Identification(size_t size) {
  std::vector<uint8_t> id = Bytes(size, 0x40);
  id[0] = 0x01;
  id[2] = 'K';
  id[3] = 'V';
  id[4] = 'Q';
  return id;
}

// A link to a card at Base whose search has already happened.
ReaderLink LinkAt(SimBus& bus) {
  ReaderLink link(bus);
  link.portBase = Base;
  link.readerPresent = true;
  return link;
}

// Registers with fixed values, for the presence rule on its own.
class FixedPort : public halvex::ReaderPort {
 public:
  std::map<uint16_t, uint8_t> regs;
  std::vector<halvexsim::PortAccess> log;

  uint8_t In(uint16_t port) override {
    const auto it = regs.find(port);
    const uint8_t v = it == regs.end() ? 0xFF : it->second;
    log.push_back({false, port, v, 0});
    return v;
  }
  void Out(uint16_t port, uint8_t value) override { log.push_back({true, port, value, 0}); }
  uint32_t TickCount() override { return 0; }
  Dispatched DispatchOneMessage() override { return {}; }
  void RepostQuit(int) override {}
};

TEST(PresenceTest, OnlyThreeFloatingRegistersMeanTheReaderIsGone) {
  struct Case {
    uint8_t status, lengthLow, lengthHigh;
    bool present;
    const char* readTrace;
    const char* writeTrace;
  };
  const Case cases[] = {
      {0xFF, 0xFF, 0xFF, false, "r1 r2 r3", "r1 r2 r3"},
      {0xFF, 0xFF, 0x00, true, "r1 r2 r3 r0", "r1 r2 r3 w0"},
      {0xFF, 0x00, 0xFF, true, "r1 r2 r0", "r1 r2 w0"},
      {0x40, 0xFF, 0xFF, true, "r1 r0", "r1 w0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << int(c.status) << ' ' << int(c.lengthLow) << ' '
                                    << int(c.lengthHigh));
    FixedPort port;
    port.regs = {{Base, 0x5A}, {Base + 1, c.status}, {Base + 2, c.lengthLow}, {Base + 3, c.lengthHigh}};
    ReaderLink link(port);
    link.portBase = Base;
    link.readerPresent = true;

    uint8_t value = 0;
    EXPECT_EQ(link.ReadReg(Base, value), c.present);
    EXPECT_EQ(link.readerPresent, c.present);
    EXPECT_EQ(Trace(port.log, Base), c.readTrace);
    if (c.present) {
      EXPECT_EQ(value, 0x5A);
    }

    port.log.clear();
    link.readerPresent = true;
    EXPECT_EQ(link.WriteReg(Base, 0x33), c.present);
    EXPECT_EQ(Trace(port.log, Base), c.writeTrace);
  }
}

TEST(NoHardwareTest, FirstGuardedAccessFailsThenOperationsRefuse) {
  SimBus bus;  // nothing fitted: every port floats at 0xFF
  ReaderLink link = LinkAt(bus);
  uint8_t block[4] = {1, 2, 3, 4};

  EXPECT_EQ(link.SendBlock(block, 4), BlockResult::Failed);
  EXPECT_EQ(Trace(bus.Accesses(), Base), "r1 r2 r3");
  EXPECT_FALSE(link.readerPresent);
  EXPECT_EQ(link.controlByte, 0x01) << "the transfer bit was set before the write failed";

  bus.ClearAccesses();
  const uint32_t start = bus.Now();
  EXPECT_EQ(link.SendBlock(block, 4), BlockResult::Failed);
  EXPECT_TRUE(bus.Accesses().empty());
  EXPECT_EQ(bus.Now(), start) << "SendBlock must refuse at once";

  uint8_t buffer[20];
  uint16_t length = 0;
  EXPECT_EQ(link.ReceiveBlock(buffer, sizeof buffer, length), BlockResult::Failed);
  EXPECT_TRUE(bus.Accesses().empty());
  EXPECT_EQ(bus.Now() - start, Pause(50)) << "ReceiveBlock refuses right after its first pause";
}

TEST(ReceiveBlockTest, NoDataReadsOnlyTheStatusAfterOnePause) {
  SimBus bus;
  bus.AddCard({});
  ReaderLink link = LinkAt(bus);
  uint8_t buffer[20];
  uint16_t length = 0;

  EXPECT_EQ(link.ReceiveBlock(buffer, sizeof buffer, length), BlockResult::NoData);
  EXPECT_EQ(Trace(bus.Accesses(), Base), "r1*2");
  EXPECT_EQ(bus.Now(), Pause(50));
  EXPECT_EQ(link.controlByte, 0);
}

TEST(ReceiveBlockTest, ReadsAWaitingBlockInRegisterOrder) {
  SimBus bus;
  CardConfig config;
  config.identificationAtPowerUp = true;
  bus.AddCard(config);
  ReaderLink link = LinkAt(bus);
  uint8_t buffer[20] = {};
  uint16_t length = 0;

  EXPECT_EQ(link.ReceiveBlock(buffer, sizeof buffer, length), BlockResult::Done);
  EXPECT_EQ(Trace(bus.Accesses(), Base), "r1*3 w1:01 r1*3 r2 r1 r3 r0*20 r1*3 w1:00");
  EXPECT_EQ(length, 20);
  EXPECT_TRUE(halvex::IsIdentification(buffer));
  EXPECT_EQ(bus.Now(), 2 * Pause(50));
  EXPECT_EQ(link.controlByte, 0);
}

TEST(ReceiveBlockTest, LengthTakesOnlyThreeBitsOfTheHighRegister) {
  SimBus bus;
  CardConfig config;
  config.identificationAtPowerUp = true;
  config.identification = Identification(0x50D);
  config.lengthHighNoise = 0xF8;
  bus.AddCard(config);
  ReaderLink link = LinkAt(bus);
  std::vector<uint8_t> buffer(2048);
  uint16_t length = 0;

  EXPECT_EQ(link.ReceiveBlock(buffer.data(), buffer.size(), length), BlockResult::Done);
  ASSERT_EQ(length, 0x50D);
  EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + length, config.identification->begin()));

  std::vector<uint8_t> lengthRegs;
  for (const auto& a : bus.Accesses()) {
    if (!a.write && (a.port == Base + 2 || a.port == Base + 3) && a.value != 0xFF)
      lengthRegs.push_back(a.value);
  }
  EXPECT_EQ(lengthRegs, (std::vector<uint8_t>{0x0D, 0xFD}));
}

TEST(ReceiveBlockTest, ReplyLongerThanBufferIsReadToTheEndButNotStored) {
  SimBus bus;
  CardConfig config;
  config.identificationAtPowerUp = true;
  config.identification = Identification(2047);
  halvexsim::InterfaceCard& card = bus.AddCard(config);
  ReaderLink link = LinkAt(bus);

  std::array<uint8_t, 40> memory;
  memory.fill(0xAA);
  uint16_t length = 0;
  EXPECT_EQ(link.ReceiveBlock(memory.data(), 20, length), BlockResult::Done);
  EXPECT_EQ(length, 20);
  EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 20, config.identification->begin()));
  EXPECT_TRUE(std::all_of(memory.begin() + 20, memory.end(), [](uint8_t b) { return b == 0xAA; }));

  const auto dataReads = std::count_if(bus.Accesses().begin(), bus.Accesses().end(),
                                       [](const auto& a) { return !a.write && a.port == Base; });
  EXPECT_EQ(dataReads, 2047);
  EXPECT_FALSE(card.LeftOutOfStep());
  EXPECT_EQ(link.ReceiveBlock(memory.data(), 20, length), BlockResult::NoData) << "nothing left behind";
}

TEST(ReceiveBlockTest, ErrorBitKeepsTheBytesAndClearsTheTransferBit) {
  SimBus bus;
  CardConfig config;
  config.identificationAtPowerUp = true;
  config.fault = Fault::ReceiveError;
  bus.AddCard(config);
  ReaderLink link = LinkAt(bus);
  uint8_t buffer[20] = {};
  uint16_t length = 0;

  EXPECT_EQ(link.ReceiveBlock(buffer, sizeof buffer, length), BlockResult::ErrorReported);
  EXPECT_TRUE(halvex::IsIdentification(buffer));
  EXPECT_EQ(WritesTo(bus.Accesses(), Base + 1), (std::vector<uint8_t>{0x01, 0x00}));
  EXPECT_EQ(bus.Now(), Pause(50)) << "no closing pause after an error";
}

TEST(SendBlockTest, WritesLengthThenEveryByteGuarded) {
  SimBus bus;
  halvexsim::InterfaceCard& card = bus.AddCard({});
  ReaderLink link = LinkAt(bus);
  const std::vector<uint8_t> data = Bytes(300, 0);

  EXPECT_EQ(link.SendBlock(data.data(), 300), BlockResult::Done);
  std::string expected = "r1 w1:01 r1*3 w2:2c r1 w3:01";
  for (int i = 0; i < 300; ++i) expected += " r1 w0";
  expected += " r1*3 w1:00";
  EXPECT_EQ(Trace(bus.Accesses(), Base), expected);
  ASSERT_EQ(card.ReceivedBlocks().size(), 1u);
  EXPECT_EQ(card.ReceivedBlocks()[0], data);
  EXPECT_FALSE(card.LeftOutOfStep());
  EXPECT_EQ(bus.Now(), 0u) << "sending does not wait";
}

TEST(SendBlockTest, StatusDecidesTheResult) {
  struct Case {
    Fault fault;
    BlockResult result;
    const char* trace;
  };
  const Case cases[] = {
      {Fault::NeverReady, BlockResult::NotReady, "r1 w1:01 r1*3 w1:00"},
      {Fault::SendError, BlockResult::ErrorReported, "r1 w1:01 r1*3 w2:01 r1 w3:00 r1 w0 r1*3 w1:00"},
      {Fault::ReceiveError, BlockResult::Done, "r1 w1:01 r1*3 w2:01 r1 w3:00 r1 w0 r1*3 w1:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    SimBus bus;
    CardConfig config;
    config.fault = c.fault;
    bus.AddCard(config);
    ReaderLink link = LinkAt(bus);
    const uint8_t byte = 0x42;
    EXPECT_EQ(link.SendBlock(&byte, 1), c.result);
    EXPECT_EQ(Trace(bus.Accesses(), Base), c.trace);
    EXPECT_EQ(link.controlByte, 0);
  }
}

TEST(ControlByteTest, BitLeftByAFailureIsCarriedIntoTheNextWrite) {
  SimBus bus;
  CardConfig vanishing;
  vanishing.goneAfterAccesses = 2;  // the control write lands, the status read does not
  bus.AddCard(vanishing);
  CardConfig other;
  other.base = 0x320;
  bus.AddCard(other);
  ReaderLink link = LinkAt(bus);
  const uint8_t byte = 0;

  EXPECT_EQ(link.SendBlock(&byte, 1), BlockResult::Failed);
  EXPECT_EQ(link.controlByte, 0x01);

  link.portBase = 0x320;
  link.readerPresent = true;
  uint16_t size = 0;
  link.OpenReader(270, size);
  const std::vector<uint8_t> writes = WritesTo(bus.Accesses(), 0x321);
  ASSERT_GE(writes.size(), 2u);
  EXPECT_EQ(writes[0], 0x09) << "reset pulse carries the stale transfer bit";
  EXPECT_EQ(writes[1], 0x01);
}

TEST(OpenReaderTest, HandshakeDrivesTheControlBitsInOrder) {
  SimBus bus;
  halvexsim::InterfaceCard& card = bus.AddCard({});
  ReaderLink link = LinkAt(bus);
  uint16_t size = 0;

  ASSERT_TRUE(link.OpenReader(270, size));
  // pulse, identification transfer, block-size request and transfer, size sent, opening
  const std::vector<uint8_t> expected = {0x08, 0x00, 0x01, 0x00, 0x04, 0x05,
                                         0x04, 0x00, 0x01, 0x00, 0x02, 0x00};
  EXPECT_EQ(WritesTo(bus.Accesses(), Base + 1), expected);
  EXPECT_EQ(link.controlByte, 0);
  EXPECT_FALSE(card.LeftOutOfStep());
}

TEST(OpenReaderTest, BlockSizeAboveTheLimitIsAnsweredWithTheLimit) {
  struct Case {
    uint16_t offered;
    uint16_t agreed;
  };
  const Case cases[] = {{0x0200, 270}, {0x0100, 0x0100}, {270, 270}, {271, 270}, {0xFFFF, 270}, {0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offered);
    SimBus bus;
    CardConfig config;
    config.blockSize = c.offered;
    halvexsim::InterfaceCard& card = bus.AddCard(config);
    ReaderLink link = LinkAt(bus);
    uint16_t size = 0;

    ASSERT_TRUE(link.OpenReader(270, size));
    EXPECT_EQ(size, c.agreed);
    const std::vector<uint8_t> sent = {static_cast<uint8_t>(c.agreed >> 8),
                                       static_cast<uint8_t>(c.agreed & 0xFF)};
    ASSERT_FALSE(card.ReceivedBlocks().empty());
    EXPECT_EQ(card.ReceivedBlocks().back(), sent);
  }
}

TEST(OpenReaderTest, FailsOnFaultsDuringTheHandshake) {
  for (const Fault fault : {Fault::Gone, Fault::NeverReady, Fault::NoIdentification,
                            Fault::WrongIdentification, Fault::NoBlockSize}) {
    SCOPED_TRACE(static_cast<int>(fault));
    SimBus bus;
    CardConfig config;
    config.fault = fault;
    bus.AddCard(config);
    ReaderLink link = LinkAt(bus);
    uint16_t size = 0;
    EXPECT_FALSE(link.OpenReader(270, size));
  }
}

TEST(OpenReaderTest, GivesUpOnTheIdentificationAfter1000Attempts) {
  SimBus bus;
  CardConfig config;
  config.fault = Fault::NoIdentification;
  bus.AddCard(config);
  ReaderLink link = LinkAt(bus);
  uint16_t size = 0;

  EXPECT_FALSE(link.OpenReader(270, size));
  EXPECT_EQ(bus.Now(), 1000 * (Pause(50) + Pause(100)));
  EXPECT_TRUE(link.readerPresent) << "a silent reader is not a gone reader";
}

TEST(OpenReaderTest, GivesUpSendingTheSizeOrWaitingForReadyAfter1000Attempts) {
  {
    SimBus bus;
    CardConfig config;
    config.fault = Fault::RefusesBlockSize;
    bus.AddCard(config);
    ReaderLink link = LinkAt(bus);
    uint16_t size = 0;
    EXPECT_FALSE(link.OpenReader(270, size));
    const std::vector<uint8_t> writes = WritesTo(bus.Accesses(), Base + 1);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), 0x01), 1 + 1000) << "identification, then each send";
    EXPECT_EQ(link.controlByte, 0);
  }
  {
    SimBus bus;
    CardConfig config;
    config.fault = Fault::NeverOpens;
    bus.AddCard(config);
    ReaderLink link = LinkAt(bus);
    uint16_t size = 0;
    EXPECT_FALSE(link.OpenReader(270, size));
    const auto& log = bus.Accesses();
    const auto lastWrite = std::find_if(log.rbegin(), log.rend(), [](const auto& a) { return a.write; });
    ASSERT_NE(lastWrite, log.rend());
    EXPECT_EQ(lastWrite->value, 0x02);
    EXPECT_EQ(bus.Now() - lastWrite->tick, 1000 * Pause(100));
    EXPECT_EQ(link.controlByte, 0x02) << "the opening bit stays set after the failure";
  }
}

// Opens a card that is then sent a select block; the reply comes after `delayMs`.
struct Exchange {
  SimBus bus;
  ReaderLink link;
  uint32_t sendEnd = 0;

  explicit Exchange(CardConfig config) : link(bus) {
    bus.AddCard(std::move(config));
    link.portBase = Base;
    link.readerPresent = true;
    uint16_t size = 0;
    EXPECT_TRUE(link.OpenReader(270, size));
    bus.ClearAccesses();
  }

  BlockResult Transmit() {
    uint8_t buffer[2048] = {0x12, 0x00, 0x07, 0x00, 0xA4, 0x00, 0x00, 0x02, 0x00, 0x20, 0x93};
    uint16_t length = 11;
    return link.TransmitBlock(buffer, sizeof buffer, length);
  }
};

TEST(TransmitBlockTest, GivesUpAfter10001ReceiveAttempts) {
  CardConfig silent;
  silent.fault = Fault::NoReply;
  Exchange ex(silent);
  EXPECT_EQ(ex.Transmit(), BlockResult::ErrorReported);

  const auto& log = ex.bus.Accesses();
  const auto lastWrite = std::find_if(log.rbegin(), log.rend(), [](const auto& a) { return a.write; });
  ASSERT_NE(lastWrite, log.rend());
  const size_t readsAfterSend = static_cast<size_t>(lastWrite - log.rbegin());
  EXPECT_EQ(readsAfterSend, 2u * 10001) << "presence and status read per attempt";

  // A reply that shows exactly at the last status read still counts; one
  // millisecond later it is too late.
  const uint32_t lastPoll = log.back().tick - lastWrite->tick;
  CardConfig justInTime;
  justInTime.replyDelayMs = lastPoll;
  EXPECT_EQ(Exchange(justInTime).Transmit(), BlockResult::Done);
  CardConfig tooLate;
  tooLate.replyDelayMs = lastPoll + 1;
  EXPECT_EQ(Exchange(tooLate).Transmit(), BlockResult::ErrorReported);
}

TEST(TransmitBlockTest, ReplyReplacesTheCommandInTheBuffer) {
  Exchange ex(CardConfig{});
  uint8_t buffer[2048] = {0x12, 0x00, 0x07, 0x00, 0xA4, 0x00, 0x00, 0x02, 0x00, 0x20, 0x93};
  uint16_t length = 11;
  ASSERT_EQ(ex.link.TransmitBlock(buffer, sizeof buffer, length), BlockResult::Done);
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + length),
            (std::vector<uint8_t>{0x12, 0x00, 0x02, 0x90, 0x00, 0x80}));
}

TEST(TransmitBlockTest, ReceiveErrorOrGoneReaderEndsAtOnce) {
  CardConfig erring;
  erring.fault = Fault::ReceiveError;
  Exchange ex(erring);
  EXPECT_EQ(ex.Transmit(), BlockResult::ErrorReported);

  Exchange gone(CardConfig{});
  gone.link.readerPresent = false;
  const uint32_t start = gone.bus.Now();
  EXPECT_EQ(gone.Transmit(), BlockResult::ErrorReported);
  EXPECT_EQ(gone.bus.Now() - start, Pause(50)) << "one refused receive, no repetitions";
}

TEST(WaitTest, LastsItsTimeAcrossTheTickCounterWrap) {
  for (const uint32_t start : {0u, 0x7FFFFFF0u, 0xFFFFFFC0u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(start);
    SimBus bus(start);
    ReaderLink link(bus);
    link.WaitWithMessages(50);
    EXPECT_EQ(static_cast<uint32_t>(bus.Now() - start), Pause(50));
  }
}

TEST(WaitTest, DispatchesOneMessagePerPassAndKeepsAQuitForLater) {
  SimBus bus;
  for (int i = 0; i < 100; ++i) bus.QueueMessage(i);
  ReaderLink link(bus);
  link.WaitWithMessages(10);
  EXPECT_EQ(bus.MessagesDispatched(), 10u);

  SimBus quitting;
  quitting.QueueMessage(1);
  quitting.QueueQuit(7);
  quitting.QueueMessage(2);
  ReaderLink other(quitting);
  other.WaitWithMessages(10);
  EXPECT_EQ(quitting.MessagesDispatched(), 3u) << "the quit message is dispatched and the wait goes on";
  EXPECT_EQ(quitting.Now(), Pause(10));
  EXPECT_TRUE(quitting.RepostedQuits().empty());
  other.RepostPendingQuit();
  other.RepostPendingQuit();
  EXPECT_EQ(quitting.RepostedQuits(), (std::vector<int>{7}));
}

TEST(WaitTest, MessageArrivingLaterIsTakenByTheWaitRunningThen) {
  SimBus bus(0xFFFFFF00u);  // the arrival time counts across the clock's wrap
  bus.QueueQuit(3, 120);
  ReaderLink link(bus);
  link.WaitWithMessages(100);
  EXPECT_EQ(bus.MessagesDispatched(), 0u);
  link.WaitWithMessages(100);
  EXPECT_EQ(bus.MessagesDispatched(), 1u);
  link.RepostPendingQuit();
  EXPECT_EQ(bus.RepostedQuits(), (std::vector<int>{3}));
}

}  // namespace
