#include "ctapi/CtExchange.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

CtExchangeResult ExchangeCommand(const CtDriver& driver, std::uint16_t ctn, std::uint8_t& dad,
                                 std::uint8_t& sad, std::span<const std::uint8_t> command,
                                 std::span<std::uint8_t> response) {
  constexpr std::size_t kMaxLength = 0xFFFF;
  if (command.size() > kMaxLength) return {-1, 0, 0};
  const auto capacity = static_cast<unsigned short>(std::min(response.size(), kMaxLength));
  // CT_data takes the command through a non-const pointer; give it a copy it may scribble on.
  std::vector<std::uint8_t> commandCopy(command.begin(), command.end());
  unsigned short lenr = capacity;
  const int rc = driver.data(ctn, &dad, &sad, static_cast<unsigned short>(command.size()), commandCopy.data(),
                             &lenr, response.data());
  return {rc, std::min<std::size_t>(lenr, capacity), lenr};
}

std::string ReadDriverVersion(const CtDriver& driver) {
  std::array<char, kVersionBufferSize> buffer{};
  driver.version(buffer.data(), 3);
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}
