#include <gtest/gtest.h>

#include "terminal/CommandApdu.h"

using terminal::ApduError;
using terminal::ParseCommandApdu;

TEST(CommandApdu, FourCasesAndTheirLengthErrors) {
  const struct {
    std::vector<std::uint8_t> bytes;
    bool ok;
    std::size_t dataSize;
    std::optional<std::size_t> le;
    ApduError error;
  } cases[] = {
      {{0x00, 0xA4, 0x00, 0x00}, true, 0, std::nullopt, {}},
      {{0x00, 0xB0, 0x00, 0x00, 0x10}, true, 0, 16, {}},
      {{0x00, 0xB0, 0x00, 0x00, 0x00}, true, 0, 256, {}},
      {{0x00, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00}, true, 2, std::nullopt, {}},
      {{0x00, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00, 0x00}, true, 2, 256, {}},
      {{0x00, 0xA4, 0x00}, false, 0, std::nullopt, ApduError::TooShort},
      {{0x00, 0xA4, 0x00, 0x00, 0x03, 0x3F, 0x00}, false, 0, std::nullopt, ApduError::WrongLength},
      {{0x00, 0xA4, 0x00, 0x00, 0x01, 0x3F, 0x00, 0x00}, false, 0, std::nullopt, ApduError::WrongLength},
      {{0x00, 0xB0, 0x00, 0x00, 0x00, 0x01, 0x00}, false, 0, std::nullopt, ApduError::ExtendedLength},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseCommandApdu(c.bytes);
    ASSERT_EQ(parsed.apdu.has_value(), c.ok) << ::testing::PrintToString(c.bytes);
    if (!c.ok) {
      EXPECT_EQ(parsed.error, c.error);
      continue;
    }
    EXPECT_EQ(parsed.apdu->ins, c.bytes[1]);
    EXPECT_EQ(parsed.apdu->data.size(), c.dataSize);
    EXPECT_EQ(parsed.apdu->le, c.le);
  }
}
