#include <gtest/gtest.h>

#include "sim/halvex/Scenario.h"

using halvexsim::Fault;
using halvexsim::ParseScenario;

namespace {

TEST(ScenarioTest, ReadsTheSettingsOfTheDemonstrationDll) {
  const auto sc = ParseScenario(
      "base=0x3C0,version=2.27,fault=no-reply,blocksize=0x200,delay=30,powerup=1,clock=4294967290,tick=5");
  ASSERT_TRUE(sc);
  EXPECT_TRUE(sc->cardFitted);
  EXPECT_EQ(sc->card.base, 0x3C0);
  EXPECT_EQ(sc->card.version, "2.27");
  EXPECT_EQ(sc->card.fault, Fault::NoReply);
  EXPECT_EQ(sc->card.blockSize, 0x200);
  EXPECT_EQ(sc->card.replyDelayMs, 30u);
  EXPECT_TRUE(sc->card.identificationAtPowerUp);
  EXPECT_EQ(sc->clockStart, 4294967290u);
  EXPECT_EQ(sc->msPerTickRead, 5u);

  const auto defaults = ParseScenario("");
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->card.base, 0x300);
  EXPECT_EQ(defaults->card.version, "2.28");

  const auto bare = ParseScenario("version=none,card=0");
  ASSERT_TRUE(bare);
  EXPECT_FALSE(bare->card.version);
  EXPECT_FALSE(bare->cardFitted);
}

TEST(ScenarioTest, RefusesWhatItDoesNotKnow) {
  for (const char* text : {"colour=blue", "version", "fault=smoke", "base=0x", "base=12z", "base=0xFFFF",
                           "delay=-1", "tick=0"}) {
    EXPECT_FALSE(ParseScenario(text)) << text;
  }
}

}  // namespace
