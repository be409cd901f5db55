// The ordinal binding against the simulated ZEMTRAK.DLL, as the program uses it.
#include <gtest/gtest.h>

#include <vector>

#include "ctapi/CtExchange.h"
#include "ctapi/ZemtrakDriver.h"
#include "tests/support/ZemtrakSim.h"

namespace {
const CtDriver& Driver() { return ZemtrakDriver(); }
}  // namespace

TEST(DriverBinding, InitResetCloseThroughTheOrdinals) {
  ZemtrakSim sim;
  EXPECT_EQ(Driver().init(7, 1), 0);
  std::uint8_t dad = kAddressTerminal, sad = kAddressHost;
  std::vector<std::uint8_t> response(4096);
  const std::uint8_t resetCt[] = {0x20, 0x11, 0x00, 0x00};
  const auto result = ExchangeCommand(Driver(), 7, dad, sad, resetCt, response);
  EXPECT_EQ(result.rc, 0);
  ASSERT_EQ(result.responseLength, 2u);
  EXPECT_EQ(response[0], 0x90);
  EXPECT_EQ(response[1], 0x00);
  EXPECT_EQ(sad, 1);
  EXPECT_EQ(dad, 2);
  EXPECT_EQ(Driver().close(7), 0);
  EXPECT_EQ(Driver().close(7), -1);
}

TEST(DriverBinding, ScriptedLengthBeyondCapacityNeverPassesTheBuffer) {
  ZemtrakSim sim;
  sim.Queue({0, std::vector<std::uint8_t>(40, 0x5A), -1, -1, 5000});
  std::uint8_t dad = 1, sad = 2;
  std::vector<std::uint8_t> response(32, 0);
  const auto result = ExchangeCommand(Driver(), 0, dad, sad, {}, response);
  EXPECT_EQ(result.rc, 0);
  EXPECT_EQ(result.responseLength, 32u);
  EXPECT_EQ(response.back(), 0x5A);
}

TEST(DriverBinding, ScriptedNegativeCodeAndAddressesComeBackUnchanged) {
  ZemtrakSim sim;
  sim.Queue({-127, {}, 9, 8, -1});
  std::uint8_t dad = 1, sad = 2;
  std::vector<std::uint8_t> response(16);
  const auto result = ExchangeCommand(Driver(), 0, dad, sad, {}, response);
  EXPECT_EQ(result.rc, -127);
  EXPECT_EQ(result.responseLength, 0u);
  EXPECT_EQ(dad, 9);
  EXPECT_EQ(sad, 8);
}

TEST(DriverBinding, VersionTextFillingAllBytesWithoutNul) {
  ZemtrakSim sim;
  sim.SetVersion(std::string(120, 'Q'));
  EXPECT_EQ(ReadDriverVersion(Driver()), std::string(120, 'Q'));
  sim.UseDefaultVersion();
  EXPECT_FALSE(ReadDriverVersion(Driver()).empty());
}
