#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/FirmwareCheck.h"
#include "sim/halvex/SimBus.h"
#include "tests/firmware/HalvexFixture.h"

using halvex::ReaderLink;
using halvexsim::CardConfig;
using halvexsim::Fault;
using halvexsim::SimBus;
using halvextest::Trace;
using halvextest::WritesTo;

namespace {

CardConfig WithVersion(std::optional<std::string> version) {
  CardConfig config;
  config.version = std::move(version);
  return config;
}

int32_t Check(SimBus& bus) {
  ReaderLink link(bus);
  return halvex::CheckFirmWare(link);
}

int32_t CheckOne(const CardConfig& config) {
  SimBus bus;
  bus.AddCard(config);
  return Check(bus);
}

TEST(CheckFirmWareTest, ClassifiesTheVersionText) {
  struct Case {
    std::optional<std::string> version;
    int32_t result;
  };
  const Case cases[] = {
      {"2.28", 0},       {"2.27", 1}, {"2.01", 1},  {"2.00", 5},
      {"3.0", 5},  // dots go first: 30, not a major version 3
      {"2.28a", 0},      {"10.0", 5}, {" 2.40", 0}, {"-2.40", 5},
      {"v2.28", 5},      {"", 5},     {"2.2.8", 0}, {"99.99.99.99.99.99", 0},
      {std::nullopt, 5},  // no version element: cannot be shown recent
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version.value_or("<no element>"));
    EXPECT_EQ(CheckOne(WithVersion(c.version)), c.result);
  }
}

TEST(CheckFirmWareTest, SendsSelectThenReadWithTheirChecksums) {
  SimBus bus;
  halvexsim::InterfaceCard& card = bus.AddCard({});
  ASSERT_EQ(Check(bus), 0);
  const std::vector<std::vector<uint8_t>> expected = {
      {0x01, 0x00},  // block size agreed in the handshake
      {0x12, 0x00, 0x07, 0x00, 0xA4, 0x00, 0x00, 0x02, 0x00, 0x20, 0x93},
      {0x12, 0x00, 0x05, 0x00, 0xB0, 0x00, 0x00, 0x00, 0xA7},
  };
  EXPECT_EQ(card.ReceivedBlocks(), expected);
  EXPECT_FALSE(card.LeftOutOfStep());
}

TEST(CheckFirmWareTest, ElementWalkStepsOverElementsByTheirLength) {
  struct Case {
    const char* name;
    std::vector<uint8_t> before;
    int32_t result;
  };
  const Case cases[] = {
      {"one element of length 3", {0x01, 0x03, 0xAA, 0xBB, 0xCC}, 0},
      // a tag byte inside another element's value is not an element
      {"0x0F inside a value", {0x01, 0x02, 0x0F, 0x01}, 0},
      {"empty element", {0x20, 0x00}, 0},
      {"an earlier version element wins", {0x0F, 0x03, '1', '.', '5'}, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CardConfig config = WithVersion("2.28");
    config.elementsBefore = c.before;
    EXPECT_EQ(CheckOne(config), c.result);
  }
}

TEST(CheckFirmWareTest, NoInterfaceReadsThreePortsPerBaseTwice) {
  SimBus bus;
  ReaderLink link(bus);
  EXPECT_EQ(halvex::CheckFirmWare(link), 2);
  EXPECT_FALSE(link.readerPresent);

  std::string expected;
  for (const uint16_t base : halvex::CandidateBases) {
    char line[64];
    std::snprintf(line, sizeof line, "%sr%x r%x r%x r%x r%x r%x", expected.empty() ? "" : " ", base + 1,
                  base + 2, base + 3, base + 2, base + 3, base + 1);
    expected += line;
  }
  EXPECT_EQ(Trace(bus.Accesses(), 0), expected);
  EXPECT_EQ(bus.Now(), 0u) << "an empty search does not wait";
}

TEST(CheckFirmWareTest, FindsAnInterfaceAtTheLastBase) {
  SimBus bus;
  CardConfig config;
  config.base = 0x3C0;
  bus.AddCard(config);
  ReaderLink link(bus);
  EXPECT_EQ(halvex::CheckFirmWare(link), 0);
  EXPECT_EQ(link.portBase, 0x3C0);
  EXPECT_TRUE(link.readerPresent);
  const size_t beforeLastBase = 6 * 6;
  for (size_t i = 0; i < beforeLastBase; ++i) EXPECT_FALSE(bus.Accesses()[i].write);
  EXPECT_EQ(bus.Accesses()[beforeLastBase].port, 0x3C1);
}

TEST(CheckFirmWareTest, OnlyTheFirstQualifyingBaseIsOpened) {
  SimBus bus;
  CardConfig broken;
  broken.base = 0x320;
  broken.fault = Fault::NoIdentification;
  bus.AddCard(broken);
  CardConfig good;
  good.base = 0x340;
  bus.AddCard(good);
  ReaderLink link(bus);

  EXPECT_EQ(halvex::CheckFirmWare(link), 2);
  EXPECT_FALSE(link.readerPresent);
  for (const auto& a : bus.Accesses()) {
    EXPECT_FALSE(a.port >= 0x340 && a.port < 0x344) << "touched " << std::hex << a.port;
  }
}

TEST(CheckFirmWareTest, WaitingIdentificationIsDrainedAndJudged) {
  struct Case {
    const char* name;
    Fault firstCard;
    int32_t result;
    uint16_t base;
  };
  const Case cases[] = {
      {"good identification", Fault::None, 0, 0x300},
      {"wrong identification passes the base over", Fault::WrongIdentification, 0, 0x360},
      {"never ready gives up after 1000 drains", Fault::NeverReady, 2, 0x300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimBus bus;
    CardConfig first;
    first.identificationAtPowerUp = true;
    first.fault = c.firstCard;
    bus.AddCard(first);
    CardConfig second;
    second.base = 0x360;
    bus.AddCard(second);
    ReaderLink link(bus);
    EXPECT_EQ(halvex::CheckFirmWare(link), c.result);
    EXPECT_EQ(link.portBase, c.base);
    if (c.firstCard == Fault::NeverReady) {
      EXPECT_TRUE(link.readerPresent) << "the drain limit leaves the flag set";
      EXPECT_EQ(bus.Now(), 1000u * (52 + 22));
    }
  }
}

TEST(CheckFirmWareTest, FaultsGiveTheirResultCodes) {
  struct Case {
    Fault fault;
    int32_t result;
  };
  const Case cases[] = {
      {Fault::Gone, 2},
      {Fault::NeverReady, 2},
      {Fault::NoIdentification, 2},
      {Fault::WrongIdentification, 2},
      {Fault::NoBlockSize, 2},
      {Fault::NoReply, 3},
      {Fault::ReceiveError, 3},
      {Fault::SendError, 0},  // the send result is not examined; the reply still comes
      {Fault::RefusesBlockSize, 2},
      {Fault::NeverOpens, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    CardConfig config;
    config.fault = c.fault;
    EXPECT_EQ(CheckOne(config), c.result);
  }
}

TEST(CheckFirmWareTest, ReaderGoneDuringTheExchangeGives3) {
  SimBus reference;
  reference.AddCard({});
  ASSERT_EQ(Check(reference), 0);
  const auto& log = reference.Accesses();
  // Pull the reader right after the select block has gone out.
  size_t selectSent = 0;
  int transfers = 0;
  for (size_t i = 0; i < log.size(); ++i) {
    if (log[i].write && log[i].port == 0x301 && log[i].value == 0x00 && ++transfers == 6) selectSent = i + 1;
  }
  ASSERT_GT(selectSent, 0u);

  CardConfig config;
  config.goneAfterAccesses = selectSent;
  SimBus bus;
  bus.AddCard(config);
  ReaderLink link(bus);
  EXPECT_EQ(halvex::CheckFirmWare(link), 3);
  EXPECT_FALSE(link.readerPresent);
}

TEST(CheckFirmWareTest, IdentificationLongerThanItsBufferIsDropped) {
  CardConfig config;
  std::vector<uint8_t> ident(2047, 0x5A);
  ident[0] = 0x01;
  ident[2] = 'K';
  ident[3] = 'V';
  ident[4] = 'Q';
  config.identification = ident;
  SimBus bus;
  halvexsim::InterfaceCard& card = bus.AddCard(config);
  EXPECT_EQ(Check(bus), 0);
  EXPECT_FALSE(card.LeftOutOfStep());
}

TEST(CheckFirmWareTest, QuitMessageDuringTheCheckIsPostedAgainAfterIt) {
  SimBus bus;
  bus.AddCard({});
  bus.QueueMessage(1);
  bus.QueueQuit(42);
  bus.QueueMessage(2);
  EXPECT_EQ(Check(bus), 0) << "the check goes on after a quit message";
  EXPECT_EQ(bus.MessagesDispatched(), 3u);
  EXPECT_EQ(bus.RepostedQuits(), (std::vector<int>{42}));

  SimBus empty;
  empty.QueueQuit(5);
  EXPECT_EQ(Check(empty), 2);
  EXPECT_TRUE(empty.RepostedQuits().empty()) << "nothing was taken from the queue";
}

TEST(CheckFirmWareTest, ControlBitLeftByAFailedCallReachesTheNextCall) {
  // A reference run finds where the block-size request is written.
  SimBus reference;
  reference.AddCard({});
  ASSERT_EQ(Check(reference), 0);
  size_t blockSizeRequest = 0;
  const auto& log = reference.Accesses();
  for (size_t i = 0; i < log.size() && !blockSizeRequest; ++i) {
    if (log[i].write && log[i].port == 0x301 && log[i].value == 0x04) blockSizeRequest = i + 1;
  }
  ASSERT_GT(blockSizeRequest, 0u);

  // The reader at 0x300 vanishes just after that write; a second one at 0x320 stays.
  SimBus bus;
  CardConfig vanishing;
  vanishing.goneAfterAccesses = blockSizeRequest;
  bus.AddCard(vanishing);
  CardConfig other;
  other.base = 0x320;
  halvexsim::InterfaceCard& second = bus.AddCard(other);
  ReaderLink link(bus);

  EXPECT_EQ(halvex::CheckFirmWare(link), 2);
  EXPECT_EQ(link.controlByte, 0x04);

  // The next call finds 0x320 and its reset pulse carries the stale bit;
  // with the bit already high the card never sees the block-size request.
  EXPECT_EQ(halvex::CheckFirmWare(link), 2);
  const std::vector<uint8_t> writes = WritesTo(bus.Accesses(), 0x321);
  ASSERT_GE(writes.size(), 2u);
  EXPECT_EQ(writes[0], 0x0C);
  EXPECT_EQ(writes[1], 0x04);
  EXPECT_FALSE(second.AgreedBlockSize());
}

}  // namespace
