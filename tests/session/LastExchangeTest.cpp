// The record of the last exchange and the one window that follows it.
#include <gtest/gtest.h>

#include <vector>

#include "session/LastExchange.h"

TEST(LastExchange, EachRecordReplacesTheLastAndReachesTheFollowerUntilItStops) {
  LastExchange record;
  EXPECT_FALSE(record.Last());
  std::vector<std::vector<std::uint8_t>> seen;
  record.SetFollower([&](const Exchange& e) { seen.push_back(e.response); });

  const std::vector<std::uint8_t> command = {0x20, 0x12, 0x01, 0x01, 0x00};
  record.Record({ExchangePanel::CtBcs, 1, 2, 0, command, 0, {0x3B, 0x00, 0x90, 0x00}});
  record.Record({ExchangePanel::TestConsole, 0, 2, 1, command, 0, {0x64, 0xA1}});
  EXPECT_EQ(record.Last()->panel, ExchangePanel::TestConsole);
  EXPECT_EQ(record.Last()->answeredBy, 1);
  EXPECT_EQ(record.Last()->response, (std::vector<std::uint8_t>{0x64, 0xA1}));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (std::vector<std::uint8_t>{0x3B, 0x00, 0x90, 0x00}));

  record.SetFollower({});
  record.Record({ExchangePanel::CtBcs, 1, 2, 1, command, -8, {}});
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(record.Last()->rc, -8);
}
