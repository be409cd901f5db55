#pragma once
// The few PC/SC calls the bridge makes, so its logic runs over winscard, pcsc-lite or a fake alike.
// Result codes and reader-state flags have the same values in winscard and pcsc-lite.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace pcsc {

using Bytes = std::vector<std::uint8_t>;
using Context = std::uintptr_t;
using Handle = std::uintptr_t;
using Result = std::uint32_t;

namespace result {
constexpr Result kSuccess = 0x00000000;
constexpr Result kCancelled = 0x80100002;
constexpr Result kInvalidHandle = 0x80100003;
constexpr Result kInsufficientBuffer = 0x80100008;
constexpr Result kUnknownReader = 0x80100009;
constexpr Result kTimeout = 0x8010000A;
constexpr Result kSharingViolation = 0x8010000B;
constexpr Result kNoSmartcard = 0x8010000C;
constexpr Result kProtoMismatch = 0x8010000F;
constexpr Result kCommError = 0x80100013;
constexpr Result kReaderUnavailable = 0x80100017;
constexpr Result kNoService = 0x8010001D;
constexpr Result kServiceStopped = 0x8010001E;
constexpr Result kNoReaders = 0x8010002E;
constexpr Result kUnsupportedCard = 0x80100065;
constexpr Result kUnresponsiveCard = 0x80100066;
constexpr Result kUnpoweredCard = 0x80100067;
constexpr Result kResetCard = 0x80100068;
constexpr Result kRemovedCard = 0x80100069;
}  // namespace result

// SCARD_STATE_*; the upper 16 bits count the reader's events.
namespace state {
constexpr std::uint32_t kUnaware = 0x0000;
constexpr std::uint32_t kChanged = 0x0002;
constexpr std::uint32_t kUnknown = 0x0004;
constexpr std::uint32_t kUnavailable = 0x0008;
constexpr std::uint32_t kEmpty = 0x0010;
constexpr std::uint32_t kPresent = 0x0020;
constexpr std::uint32_t kMute = 0x0200;
}  // namespace state

enum class Protocol { T0, T1 };
enum class Disposition { Leave, Reset, Unpower, Eject };

class Api {
 public:
  virtual ~Api() = default;
  virtual Result EstablishContext(Context& context) = 0;
  virtual Result ReleaseContext(Context context) = 0;
  virtual Result ListReaders(Context context, std::vector<std::string>& readers) = 0;
  // One reader; eventState gets the reader's state when it differs from currentState or when the
  // time is up (then the result is kTimeout).
  virtual Result GetStatusChange(Context context, std::chrono::milliseconds timeout,
                                 const std::string& reader, std::uint32_t currentState,
                                 std::uint32_t& eventState) = 0;
  // Ends a GetStatusChange running on the context in another thread.
  virtual Result Cancel(Context context) = 0;
  // Shared mode, T=0 or T=1.
  virtual Result Connect(Context context, const std::string& reader, Handle& card, Protocol& active) = 0;
  virtual Result Reconnect(Handle card, Disposition initialization, Protocol& active) = 0;
  virtual Result Disconnect(Handle card, Disposition disposition) = 0;
  virtual Result Status(Handle card, Bytes& atr) = 0;
  virtual Result Transmit(Handle card, Protocol protocol, const Bytes& command, Bytes& response) = 0;
};

}  // namespace pcsc
