#pragma once
// A card slot that is one PC/SC reader. The card is used in shared mode, so other programs keep
// their access; answers are passed on exactly as the card gave them (61 xx included).
//
// Faults of PC/SC itself (no service, reader gone, a card held exclusively elsewhere, a reply too
// short to hold status words) are remembered for the driver, which reports them as transmission
// errors; a card taken out is no fault, the terminal answers for it.

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "drivers/pcsc/PcscApi.h"
#include "terminal/CardSlot.h"

namespace pcsc {

using Milliseconds = std::chrono::milliseconds;
// The time the waits measure their limits by.
using Now = std::function<Milliseconds()>;
Milliseconds SteadyNow();

class PcscCardSlot : public terminal::CardSlot {
 public:
  PcscCardSlot(Api& api, std::string reader, Now now = SteadyNow);
  ~PcscCardSlot() override;
  PcscCardSlot(const PcscCardSlot&) = delete;
  PcscCardSlot& operator=(const PcscCardSlot&) = delete;

  const std::string& Reader() const { return reader_; }

  bool CardPresent() override;
  bool CardPowered() override;
  std::optional<terminal::AnswerToReset> PowerOn() override;
  void PowerOff() override;
  std::optional<Bytes> Transmit(const Bytes& apdu) override;
  void Eject() override;
  bool WaitForInsertion(Milliseconds limit) override;
  bool WaitForRemoval(Milliseconds limit) override;

  // From another thread: ends a running wait at once and lets no other start until Resume.
  void Cancel();
  void Resume();
  // Whether a PC/SC fault ended something since the last time this was asked.
  bool TakeTransportFault();

 private:
  bool EnsureContext();
  void ReleaseContext();
  void Disconnect(Disposition disposition);
  // Remembers a failed call's result, and forgets handles the result says are dead.
  void Failed(Result result);
  std::optional<std::uint32_t> ReaderState();
  bool WaitFor(bool present, Milliseconds limit);

  Api& api_;
  const std::string reader_;
  const Now now_;

  std::mutex contextMutex_;  // Cancel reads the context from another thread
  std::optional<Context> context_;
  std::optional<Handle> card_;
  Protocol protocol_ = Protocol::T1;
  bool powered_ = false;
  bool transportFault_ = false;
  std::atomic<bool> cancelled_{false};
};

}  // namespace pcsc
