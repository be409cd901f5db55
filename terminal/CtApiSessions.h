#pragma once
// The CT-API side of a driver: which terminal numbers are open on which terminal, the checks of
// every call's arguments and addresses, and the return codes.

#include <cstdint>
#include <functional>
#include <map>

#include "terminal/BcsTerminal.h"

namespace terminal {

namespace ct {
constexpr int kOk = 0;
constexpr int kErrInvalid = -1;
constexpr int kErrCt = -8;
constexpr int kErrTrans = -10;
constexpr int kErrMemory = -11;
constexpr int kErrHost = -127;
constexpr int kErrHtsi = -128;
constexpr std::uint8_t kAddressHost = 2;
}  // namespace ct

class CtApiSessions {
 public:
  // The terminal on port pn, or null when none sits there.
  using PortLookup = std::function<BcsTerminal*(std::uint16_t pn)>;

  explicit CtApiSessions(PortLookup lookup) : lookup_(std::move(lookup)) {}

  int Init(std::uint16_t ctn, std::uint16_t pn);
  int Close(std::uint16_t ctn);
  int Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc,
           const std::uint8_t* command, std::uint16_t* lenr, std::uint8_t* response);
  std::size_t OpenCount() const { return open_.size(); }
  void CloseAll() { open_.clear(); }

 private:
  PortLookup lookup_;
  std::map<std::uint16_t, BcsTerminal*> open_;
};

}  // namespace terminal
