#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "ctapi/CtApi.h"

struct CtExchangeResult {
  int rc;
  // The bytes of answer in the response buffer: what the driver reported, but never more than the
  // buffer holds, so a driver that reports too much cannot make the caller read past it.
  std::size_t responseLength;
  std::size_t reportedLength;  // lenr as the driver wrote it back
};

// Sends one command with CT_data. dad and sad are passed as set by the caller and hold what the
// driver wrote back afterwards. lenr goes in as the response buffer's capacity.
CtExchangeResult ExchangeCommand(const CtDriver& driver, std::uint16_t ctn, std::uint8_t& dad,
                                 std::uint8_t& sad, std::span<const std::uint8_t> command,
                                 std::span<std::uint8_t> response);

constexpr std::size_t kVersionBufferSize = 120;

// CT_version with selector 3 into a zeroed 120-byte buffer. A driver that writes no NUL, or
// nothing at all, yields at most the 120 bytes it wrote, or an empty text.
std::string ReadDriverVersion(const CtDriver& driver);
