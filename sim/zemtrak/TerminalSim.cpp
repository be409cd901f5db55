#include "sim/zemtrak/TerminalSim.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {
constexpr std::uint8_t kClaBcs = 0x20;
constexpr std::uint8_t kInsResetCt = 0x11;
constexpr std::uint8_t kInsResetCtAlternate = 0x10;

const std::vector<std::uint8_t> kSuccess{0x90, 0x00};
const std::vector<std::uint8_t> kInsNotSupported{0x6D, 0x00};

bool IsResetCt(const std::vector<std::uint8_t>& c) {
  if (c.size() < 4 || c[0] != kClaBcs || c[2] != 0x00 || c[3] != 0x00) return false;
  return (c.size() == 4 && c[1] == kInsResetCt) ||
         (c.size() == 5 && c[1] == kInsResetCtAlternate && c[4] == 0x00);
}
}  // namespace

std::string DefaultVersionText() { return "ZEMTRAK simulated terminal 1.0"; }

int TerminalSim::Init(std::uint16_t ctn, std::uint16_t) {
  return open_.insert(ctn).second ? kOk : kErrInvalid;
}

int TerminalSim::Close(std::uint16_t ctn) { return open_.erase(ctn) ? kOk : kErrInvalid; }

int TerminalSim::Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc,
                      const std::uint8_t* command, std::uint16_t* lenr, std::uint8_t* response) {
  if (!dad || !sad || !lenr || (lenc && !command)) return kErrInvalid;
  const std::uint16_t capacity = *lenr;
  RecordedCommand record{ctn, *dad, *sad, capacity, std::vector<std::uint8_t>(command, command + lenc)};
  lastCommand_ = record;

  if (!script_.empty()) {
    ScriptedAnswer answer = std::move(script_.front());
    script_.pop_front();
    const std::size_t n = std::min<std::size_t>(answer.response.size(), capacity);
    if (response && n) std::memcpy(response, answer.response.data(), n);
    *lenr = answer.reportedLength.value_or(static_cast<std::uint16_t>(answer.response.size()));
    if (answer.dad) *dad = *answer.dad;
    if (answer.sad) *sad = *answer.sad;
    return answer.rc;
  }

  if (!open_.count(ctn)) return kErrInvalid;
  const std::vector<std::uint8_t> answer = Simulate(record.bytes);
  if (!response || answer.size() > capacity) return kErrMemory;
  std::memcpy(response, answer.data(), answer.size());
  *lenr = static_cast<std::uint16_t>(answer.size());
  *sad = 1;  // the terminal answers
  *dad = 2;  // the host
  return kOk;
}

std::vector<std::uint8_t> TerminalSim::Simulate(const std::vector<std::uint8_t>& command) const {
  if (IsResetCt(command)) return kSuccess;
  return kInsNotSupported;
}

void TerminalSim::Version(char* buffer, int) {
  if (!buffer) return;
  const std::string text = versionText_.value_or(DefaultVersionText());
  const std::size_t n = std::min(text.size(), kVersionCapacity);
  std::memcpy(buffer, text.data(), n);
  if (n < kVersionCapacity) buffer[n] = '\0';
}

void TerminalSim::QueueAnswer(ScriptedAnswer answer) { script_.push_back(std::move(answer)); }

void TerminalSim::SetVersionText(std::string text) { versionText_ = std::move(text); }

void TerminalSim::Reset() { *this = TerminalSim(); }

}  // namespace sim
