#include "terminal/CommandApdu.h"

namespace terminal {

ParsedApdu ParseCommandApdu(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4) return {std::nullopt, ApduError::TooShort};
  CommandApdu apdu{bytes[0], bytes[1], bytes[2], bytes[3], {}, std::nullopt};
  const std::size_t n = bytes.size();
  if (n == 4) return {apdu};
  const std::size_t b5 = bytes[4];
  if (n == 5) {
    apdu.le = b5 ? b5 : 256;
    return {apdu};
  }
  if (b5 == 0) return {std::nullopt, ApduError::ExtendedLength};
  if (n != 5 + b5 && n != 6 + b5) return {std::nullopt, ApduError::WrongLength};
  apdu.data.assign(bytes.begin() + 5, bytes.begin() + 5 + b5);
  if (n == 6 + b5) apdu.le = bytes[n - 1] ? bytes[n - 1] : 256;
  return {apdu};
}

}  // namespace terminal
