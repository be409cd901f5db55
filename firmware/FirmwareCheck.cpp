#include "firmware/FirmwareCheck.h"

#include "firmware/T1Blocks.h"
#include "firmware/VersionReply.h"

namespace halvex {

namespace {

constexpr uint32_t DrainPauseMs = 20;
constexpr int DrainAttempts = 1000;
constexpr uint32_t BetweenCommandsMs = 100;

enum class Probe { NotHere, Found, Abort };

// An identification block left waiting (after power-up, say) must be read
// out before the interface will talk; it also tells us who is there.
Probe DrainIdentification(ReaderLink& link) {
  uint8_t ident[IdentificationSize] = {};
  uint16_t length = 0;
  BlockResult r;
  int attempts = 0;
  do {
    r = link.ReceiveBlock(ident, sizeof ident, length);
    if (r == BlockResult::Failed) return Probe::Abort;
    link.WaitWithMessages(DrainPauseMs);
    if (++attempts == DrainAttempts) return Probe::Abort;
  } while (r == BlockResult::NotReady || r == BlockResult::NoData);
  return IsIdentification(ident) ? Probe::Found : Probe::NotHere;
}

// Plain reads: the presence test would take an empty slot for a gone reader.
Probe ProbeBase(ReaderLink& link, uint16_t base) {
  ReaderPort& port = link.Port();
  const uint8_t status = port.In(base + reg::Status) & status::Mask;
  uint8_t low = port.In(base + reg::LengthLow);
  uint8_t high = port.In(base + reg::LengthHigh) & 0x07;

  if ((status & status::ReplyWaiting) && low == IdentificationSize) {
    link.portBase = base;
    return DrainIdentification(link);
  }

  low = port.In(base + reg::LengthLow);
  high = port.In(base + reg::LengthHigh) & 0x07;
  const uint8_t raw = port.In(base + reg::Status);
  const bool idleAndReady = low != 0xFF && high == 0 && (raw & status::Ready);
  return idleAndReady ? Probe::Found : Probe::NotHere;
}

// Quit messages taken during the waits go back to the caller on every path.
class QuitRepost {
 public:
  explicit QuitRepost(ReaderLink& link) : link_(link) {}
  ~QuitRepost() { link_.RepostPendingQuit(); }
  QuitRepost(const QuitRepost&) = delete;
  QuitRepost& operator=(const QuitRepost&) = delete;

 private:
  ReaderLink& link_;
};

}  // namespace

bool FindReader(ReaderLink& link, uint16_t limit, uint16_t& blockSize) {
  link.readerPresent = true;
  for (const uint16_t base : CandidateBases) {
    const Probe probe = ProbeBase(link, base);
    if (probe == Probe::Abort) return false;
    if (probe == Probe::NotHere) continue;

    // Only the first qualifying base is opened; a failure there ends the search.
    link.portBase = base;
    if (!link.OpenReader(limit, blockSize)) {
      link.readerPresent = false;
      return false;
    }
    return true;
  }
  link.readerPresent = false;
  return false;
}

int32_t CheckFirmWare(ReaderLink& link) {
  QuitRepost repost(link);

  uint16_t blockSize = 0;
  if (!FindReader(link, BlockSizeLimit, blockSize)) return result::NoReader;

  uint8_t buffer[ExchangeBufferSize] = {};
  uint16_t length = BuildSelectBlock(buffer);
  if (link.TransmitBlock(buffer, sizeof buffer, length) == BlockResult::ErrorReported) {
    return result::ExchangeFailed;
  }

  link.WaitWithMessages(BetweenCommandsMs);

  length = BuildReadBlock(buffer);
  if (link.TransmitBlock(buffer, sizeof buffer, length) == BlockResult::ErrorReported) {
    return result::ExchangeFailed;
  }

  // A reply without a version element cannot show the firmware is recent.
  const std::optional<VersionText> text = FindVersionText(buffer, length);
  if (!text) return result::TooOld;
  return ClassifyVersion(VersionNumber(*text));
}

}  // namespace halvex
