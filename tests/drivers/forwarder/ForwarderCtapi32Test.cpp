// End to end under Wine: the forwarder names Wine's ctapi32.dll, whose registry value names the
// simulated terminal's Linux library (set by the test's CTest fixture), so every call goes from
// Windows code through the forwarder and ctapi32 to Linux code and back.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/drivers/forwarder/ForwarderCopy.h"

namespace {

constexpr const char* kSettings = "[Driver]\r\nLibrary=ctapi32.dll\r\n";

std::string Ctapi32Path() {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  return std::string(system) + "\\ctapi32.dll";
}

TEST(ForwarderCtapi32, ResetCtAndGetStatusTravelToTheLinuxLibraryAndBack) {
  const ForwarderCopy forwarder("ctapi32", kSettings);
  ASSERT_TRUE(forwarder.Loaded());
  const CtDriver& ct = forwarder.Driver();
  ASSERT_EQ(ct.init(1, 1), 0) << forwarder.Version();
  EXPECT_EQ(forwarder.Version(), "Forwarder to " + Ctapi32Path()) << "ctapi32 has no CT_version of its own";

  const struct {
    std::vector<unsigned char> command;
    std::vector<unsigned char> answer;
  } exchanges[] = {
      {{0x20, 0x11, 0x00, 0x00}, {0x90, 0x00}},        // RESET CT
      {{0x20, 0x13, 0x00, 0x80}, {0x03, 0x90, 0x00}},  // GET STATUS: a card inserted, not active
      {{0x20, 0x13, 0x00, 0x46},
       {'D', 'E', 'Z', 'M', 'T', 'S', 'I', 'M', 'C', 'T', '0', '1', '.', '0', '0', 0x90, 0x00}},
  };
  for (auto e : exchanges) {
    unsigned char dad = 1, sad = 2, response[256] = {};
    unsigned short lenr = sizeof response;
    ASSERT_EQ(ct.data(1, &dad, &sad, static_cast<unsigned short>(e.command.size()), e.command.data(), &lenr,
                      response),
              0);
    EXPECT_EQ(std::vector<unsigned char>(response, response + lenr), e.answer);
    EXPECT_EQ(dad, 2) << "the answer goes to the host";
    EXPECT_EQ(sad, 1) << "from the terminal";
  }

  // The Linux library's own length check travels back too: two bytes of room for a three-byte answer.
  unsigned char dad = 1, sad = 2, command[] = {0x20, 0x13, 0x00, 0x80}, response[2];
  unsigned short lenr = sizeof response;
  EXPECT_EQ(ct.data(1, &dad, &sad, 4, command, &lenr, response), -11);
  EXPECT_LE(lenr, 2);

  EXPECT_EQ(ct.init(1, 1), -1) << "ctn 1 is open in the Linux library";
  EXPECT_EQ(ct.close(1), 0);
  EXPECT_EQ(ct.close(1), -1);
}

}  // namespace
