#include "terminal/CtApiSessions.h"

#include <algorithm>
#include <cstring>

namespace terminal {

int CtApiSessions::Init(std::uint16_t ctn, std::uint16_t pn) {
  if (open_.count(ctn)) return ct::kErrInvalid;
  BcsTerminal* terminal = lookup_(pn);
  if (!terminal) return ct::kErrCt;
  const bool firstSession =
      std::none_of(open_.begin(), open_.end(), [&](const auto& entry) { return entry.second == terminal; });
  if (firstSession) terminal->Reset();
  open_.emplace(ctn, terminal);
  return ct::kOk;
}

int CtApiSessions::Close(std::uint16_t ctn) { return open_.erase(ctn) ? ct::kOk : ct::kErrInvalid; }

int CtApiSessions::Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc,
                        const std::uint8_t* command, std::uint16_t* lenr, std::uint8_t* response) {
  if (!dad || !sad || !lenr || !command || !response) return ct::kErrInvalid;
  const auto session = open_.find(ctn);
  if (session == open_.end()) return ct::kErrInvalid;
  if (*sad != ct::kAddressHost || (*dad != kUnitCard && *dad != kUnitTerminal)) return ct::kErrInvalid;
  if (lenc < 4) return ct::kErrInvalid;

  const TerminalAnswer answer = session->second->Process(*dad, {command, lenc});
  if (answer.bytes.size() > *lenr) return ct::kErrMemory;
  std::memcpy(response, answer.bytes.data(), answer.bytes.size());
  *lenr = static_cast<std::uint16_t>(answer.bytes.size());
  *sad = answer.source;
  *dad = ct::kAddressHost;
  return ct::kOk;
}

}  // namespace terminal
