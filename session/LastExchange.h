#pragma once
// The last command either panel sent with CT_data and what came back, kept for the window that
// explains answers. Writing it never touches the log.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

enum class ExchangePanel { TestConsole, CtBcs };

struct Exchange {
  ExchangePanel panel = ExchangePanel::TestConsole;
  std::uint8_t dad = 0;  // as sent, before the driver wrote its own back
  std::uint8_t sad = 0;
  std::uint8_t answeredBy = 0;  // the source address the driver wrote back: 1 when the terminal answered
  std::vector<std::uint8_t> command;
  int rc = 0;
  std::vector<std::uint8_t> response;  // empty when the call failed
};

class LastExchange {
 public:
  using Follower = std::function<void(const Exchange&)>;

  void Record(Exchange exchange);
  const std::optional<Exchange>& Last() const { return last_; }

  // One follower at a time, told of each exchange as it is recorded; an empty one stops it.
  void SetFollower(Follower follower) { follower_ = std::move(follower); }

 private:
  std::optional<Exchange> last_;
  Follower follower_;
};

// The one program-wide record.
LastExchange& Exchanges();
