#include "drivers/pcsc/PcscCardSlot.h"

#include <algorithm>
#include <utility>

#include "drivers/pcsc/Atr.h"

namespace pcsc {

namespace {
// Waits go to PC/SC in slices, so a cancel that came just before a slice began holds it no longer.
constexpr Milliseconds kWaitSlice{250};
constexpr std::size_t kStatusWordLength = 2;

// The card went away or lost its power: the terminal answers for that, it is no fault of PC/SC.
bool CardGone(Result result) {
  switch (result) {
    case result::kRemovedCard:
    case result::kNoSmartcard:
    case result::kResetCard:
    case result::kUnpoweredCard:
    case result::kUnresponsiveCard:
    case result::kUnsupportedCard:
      return true;
    default:
      return false;
  }
}

// The service went away: the context and every handle on it are dead.
bool ServiceGone(Result result) {
  return result == result::kNoService || result == result::kServiceStopped ||
         result == result::kInvalidHandle;
}

bool ReaderGone(Result result) {
  return result == result::kReaderUnavailable || result == result::kUnknownReader;
}
}  // namespace

Milliseconds SteadyNow() {
  return std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

PcscCardSlot::PcscCardSlot(Api& api, std::string reader, Now now)
    : api_(api), reader_(std::move(reader)), now_(std::move(now)) {}

PcscCardSlot::~PcscCardSlot() {
  Disconnect(Disposition::Unpower);
  ReleaseContext();
}

bool PcscCardSlot::EnsureContext() {
  // After a fault the rest of the call fails too, rather than half succeed.
  if (transportFault_) return false;
  if (context_) return true;
  Context context = 0;
  const Result result = api_.EstablishContext(context);
  if (result != result::kSuccess) {
    transportFault_ = true;
    return false;
  }
  std::lock_guard lock(contextMutex_);
  context_ = context;
  return true;
}

void PcscCardSlot::ReleaseContext() {
  std::optional<Context> context;
  {
    std::lock_guard lock(contextMutex_);
    context = std::exchange(context_, std::nullopt);
  }
  if (context) api_.ReleaseContext(*context);
}

void PcscCardSlot::Disconnect(Disposition disposition) {
  if (card_) api_.Disconnect(*card_, disposition);
  card_.reset();
  powered_ = false;
}

void PcscCardSlot::Failed(Result result) {
  if (CardGone(result)) {
    powered_ = false;
    return;
  }
  transportFault_ = true;
  if (ServiceGone(result)) {
    card_.reset();
    powered_ = false;
    ReleaseContext();
  } else if (ReaderGone(result)) {
    Disconnect(Disposition::Leave);
  }
}

void PcscCardSlot::Cancel() {
  cancelled_ = true;
  std::lock_guard lock(contextMutex_);
  if (context_) api_.Cancel(*context_);
}

void PcscCardSlot::Resume() { cancelled_ = false; }

bool PcscCardSlot::TakeTransportFault() { return std::exchange(transportFault_, false); }

std::optional<std::uint32_t> PcscCardSlot::ReaderState() {
  if (!EnsureContext()) return std::nullopt;
  std::uint32_t event = state::kUnaware;
  const Result result = api_.GetStatusChange(*context_, Milliseconds(0), reader_, state::kUnaware, event);
  if (result != result::kSuccess) {
    Failed(result);
    return std::nullopt;
  }
  if (event & (state::kUnknown | state::kUnavailable)) {
    Failed(result::kReaderUnavailable);
    return std::nullopt;
  }
  return event;
}

bool PcscCardSlot::CardPresent() {
  const std::optional<std::uint32_t> state = ReaderState();
  return state && (*state & state::kPresent);
}

bool PcscCardSlot::CardPowered() {
  if (!card_ || !powered_) return false;
  Bytes atr;
  const Result result = api_.Status(*card_, atr);
  if (result != result::kSuccess) Failed(result);
  return powered_ && result == result::kSuccess;
}

std::optional<terminal::AnswerToReset> PcscCardSlot::PowerOn() {
  if (!EnsureContext()) return std::nullopt;
  // A cold reset keeps the handle; a handle that cannot be reset (its card was swapped or the
  // reader came back) makes way for a new connection.
  if (card_ && api_.Reconnect(*card_, Disposition::Unpower, protocol_) != result::kSuccess)
    Disconnect(Disposition::Leave);
  if (!card_) {
    Handle card = 0;
    const Result result = api_.Connect(*context_, reader_, card, protocol_);
    if (result != result::kSuccess) {
      Failed(result);
      return std::nullopt;
    }
    card_ = card;
  }
  Bytes atr;
  const Result result = api_.Status(*card_, atr);
  if (result != result::kSuccess || atr.empty()) {
    if (result != result::kSuccess) Failed(result);
    Disconnect(Disposition::Leave);
    return std::nullopt;
  }
  powered_ = true;
  return AnswerOf(atr);
}

void PcscCardSlot::PowerOff() { Disconnect(Disposition::Unpower); }

std::optional<Bytes> PcscCardSlot::Transmit(const Bytes& apdu) {
  if (!card_ || !powered_) return std::nullopt;
  Bytes response;
  const Result result = api_.Transmit(*card_, protocol_, apdu, response);
  if (result != result::kSuccess) {
    Failed(result);
    return std::nullopt;
  }
  // Some readers report success for a card that died mid-answer; nothing arrived.
  if (response.size() < kStatusWordLength) {
    transportFault_ = true;
    powered_ = false;
    return std::nullopt;
  }
  return response;
}

void PcscCardSlot::Eject() {
  if (!card_) {
    Handle card = 0;
    if (!EnsureContext() || api_.Connect(*context_, reader_, card, protocol_) != result::kSuccess) return;
    card_ = card;
  }
  // Readers without a mechanism may refuse to eject; the card is then at least switched off.
  if (api_.Disconnect(*card_, Disposition::Eject) != result::kSuccess)
    api_.Disconnect(*card_, Disposition::Unpower);
  card_.reset();
  powered_ = false;
}

bool PcscCardSlot::WaitForInsertion(Milliseconds limit) { return WaitFor(true, limit); }

bool PcscCardSlot::WaitForRemoval(Milliseconds limit) { return WaitFor(false, limit); }

bool PcscCardSlot::WaitFor(bool present, Milliseconds limit) {
  const Milliseconds deadline = now_() + limit;
  std::uint32_t known = state::kUnaware;
  while (!cancelled_ && EnsureContext()) {
    // The first call only learns the state; the later ones wait for it to change.
    const Milliseconds slice = known == state::kUnaware
                                   ? Milliseconds(0)
                                   : std::clamp(deadline - now_(), Milliseconds(0), kWaitSlice);
    std::uint32_t event = known;
    const Result result = api_.GetStatusChange(*context_, slice, reader_, known, event);
    if (result == result::kCancelled) return false;
    if (result == result::kSuccess) {
      if (event & (state::kUnknown | state::kUnavailable)) {
        Failed(result::kReaderUnavailable);
        return false;
      }
      if (static_cast<bool>(event & state::kPresent) == present) return true;
      known = event & ~state::kChanged;
    } else if (result != result::kTimeout) {
      Failed(result);
      return false;
    }
    if (now_() >= deadline) return false;
  }
  return false;
}

}  // namespace pcsc
