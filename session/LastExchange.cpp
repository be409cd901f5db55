#include "session/LastExchange.h"

void LastExchange::Record(ExchangePanel panel, std::uint8_t dad, std::uint8_t sad,
                          std::span<const std::uint8_t> command, int rc, std::span<const std::uint8_t> response) {
  last_ = Exchange{panel, dad, sad, {command.begin(), command.end()}, rc, {response.begin(), response.end()}};
  if (follower_) follower_(*last_);
}
