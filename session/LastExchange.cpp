#include "session/LastExchange.h"

void LastExchange::Record(Exchange exchange) {
  last_ = std::move(exchange);
  if (follower_) follower_(*last_);
}
