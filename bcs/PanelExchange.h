#pragma once
// The panel's side of CT_data: the addresses it sends with and its response buffer.
#include <array>
#include <cstdint>
#include <span>

#include "bcs/BcsOperation.h"
#include "bcs/Outcome.h"
#include "ctapi/CtApi.h"

class PanelExchange {
 public:
  static constexpr std::size_t kResponseCapacity = 2048;

  // Sends the command from the host (2) to the terminal (1) and judges the answer by the
  // operation's table. A driver that reports more than the buffer holds is read only to its end.
  Outcome Send(const CtDriver& driver, std::uint16_t ctn, const BcsOperation& operation,
               std::span<const std::uint8_t> command);

 private:
  // Never cleared: each answer overwrites it from the start.
  std::array<std::uint8_t, kResponseCapacity> response_{};
};
