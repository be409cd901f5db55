#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "ctapi/CtExchange.h"

namespace {

// A driver whose CT_data and CT_version do what the current test sets up.
struct FakeDriver {
  static inline unsigned short seenCapacity = 0;
  static inline unsigned short reportLength = 0;
  static inline std::vector<unsigned char> answer;
  static inline std::vector<unsigned char> seenCommand;
  static inline std::vector<char> versionBytes;  // written as they are, no NUL added
  static inline int versionCalls = 0;

  static signed char CTAPI_CALL Data(unsigned short, unsigned char* dad, unsigned char* sad,
                                     unsigned short lenc, unsigned char* command, unsigned short* lenr,
                                     unsigned char* response) {
    seenCapacity = *lenr;
    seenCommand.assign(command, command + lenc);
    std::memcpy(response, answer.data(), std::min<std::size_t>(answer.size(), *lenr));
    *lenr = reportLength;
    *dad = 2;
    *sad = 1;
    return 0;
  }
  static signed char CTAPI_CALL Version(char* buffer, int selector) {
    ++versionCalls;
    EXPECT_EQ(selector, 3);
    std::copy(versionBytes.begin(), versionBytes.end(), buffer);
    return 0;
  }
  static CtDriver Driver() { return {nullptr, nullptr, &Data, &Version}; }
};

}  // namespace

TEST(ExchangeCommand, PassesCapacityAndCommandAndReturnsAddressesWrittenBack) {
  FakeDriver::answer = {0x90, 0x00};
  FakeDriver::reportLength = 2;
  std::uint8_t dad = 1, sad = 2;
  std::vector<std::uint8_t> response(4096);
  const std::uint8_t command[] = {0x20, 0x11, 0x00, 0x00};
  const auto result = ExchangeCommand(FakeDriver::Driver(), 0, dad, sad, command, response);
  EXPECT_EQ(result.rc, 0);
  EXPECT_EQ(result.responseLength, 2u);
  EXPECT_EQ(FakeDriver::seenCapacity, 4096);
  EXPECT_EQ(FakeDriver::seenCommand, std::vector<unsigned char>(command, command + 4));
  EXPECT_EQ(dad, 2);
  EXPECT_EQ(sad, 1);
}

TEST(ExchangeCommand, ReportedLengthBeyondCapacityIsCutToTheBuffer) {
  FakeDriver::answer = std::vector<unsigned char>(16, 0xAB);
  FakeDriver::reportLength = 60000;
  std::uint8_t dad = 1, sad = 2;
  std::vector<std::uint8_t> response(16);
  const auto result = ExchangeCommand(FakeDriver::Driver(), 0, dad, sad, {}, response);
  EXPECT_EQ(FakeDriver::seenCapacity, 16);
  EXPECT_EQ(result.responseLength, 16u);
}

TEST(ReadDriverVersion, TextUpToItsNul) {
  FakeDriver::versionBytes = {'V', '1', '\0', 'x'};
  EXPECT_EQ(ReadDriverVersion(FakeDriver::Driver()), "V1");
}

TEST(ReadDriverVersion, FullBufferWithoutNulIsReadNoFurther) {
  FakeDriver::versionBytes.assign(kVersionBufferSize, 'Z');
  EXPECT_EQ(ReadDriverVersion(FakeDriver::Driver()), std::string(kVersionBufferSize, 'Z'));
}

TEST(ReadDriverVersion, NothingWrittenGivesEmptyTextAndEveryReadCallsTheDriver) {
  FakeDriver::versionBytes.clear();
  FakeDriver::versionCalls = 0;
  EXPECT_EQ(ReadDriverVersion(FakeDriver::Driver()), "");
  EXPECT_EQ(ReadDriverVersion(FakeDriver::Driver()), "");
  EXPECT_EQ(FakeDriver::versionCalls, 2);
}
