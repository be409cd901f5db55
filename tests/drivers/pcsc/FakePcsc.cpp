#include "tests/drivers/pcsc/FakePcsc.h"

#include <utility>

namespace pcsc_test {

namespace r = pcsc::result;
namespace s = pcsc::state;

namespace {
const char* NameOf(pcsc::Disposition disposition) {
  switch (disposition) {
    case pcsc::Disposition::Leave:
      return "Leave";
    case pcsc::Disposition::Reset:
      return "Reset";
    case pcsc::Disposition::Unpower:
      return "Unpower";
    case pcsc::Disposition::Eject:
      return "Eject";
  }
  return "?";
}
}  // namespace

FakePcsc::FakePcsc() : readers{{"Fake Reader 0"}}, card([](const Bytes&) { return Bytes{0x90, 0x00}; }) {}

Milliseconds FakePcsc::Now() {
  std::lock_guard lock(mutex_);
  return now_;
}

FakeReader* FakePcsc::Find(const std::string& name) {
  for (FakeReader& reader : readers) {
    if (reader.name == name) return &reader;
  }
  return nullptr;
}

void FakePcsc::Move(const std::string& name, bool present) {
  FakeReader* reader = Find(name);
  if (!reader || reader->present == present) return;
  reader->present = present;
  ++reader->events;
}

Result FakePcsc::Enter(const std::string& call, const std::string& detail) {
  calls.push_back(detail.empty() ? call : call + " " + detail);
  const auto failure = failures.find(call);
  if (failure != failures.end()) {
    const Result result = failure->second;
    failures.erase(failure);
    return result;
  }
  return service ? r::kSuccess : r::kNoService;
}

std::uint32_t FakePcsc::StateOf(const FakeReader& reader) const {
  return (reader.present ? s::kPresent : s::kEmpty) | reader.events << 16;
}

Result FakePcsc::Check(pcsc::Handle card, FakeReader*& reader) {
  const auto connection = connections_.find(card);
  if (connection == connections_.end()) return r::kInvalidHandle;
  reader = Find(connection->second.reader);
  if (!reader) return r::kReaderUnavailable;
  if (!reader->present) return r::kRemovedCard;
  if (reader->events != connection->second.events) return r::kRemovedCard;
  return r::kSuccess;
}

Result FakePcsc::EstablishContext(pcsc::Context& context) {
  const Result result = Enter("EstablishContext");
  if (result != r::kSuccess) return result;
  std::lock_guard lock(mutex_);
  context = nextContext_++;
  contexts_.insert(context);
  ++openContexts;
  return r::kSuccess;
}

Result FakePcsc::ReleaseContext(pcsc::Context context) {
  calls.push_back("ReleaseContext");
  std::lock_guard lock(mutex_);
  if (!contexts_.erase(context)) return r::kInvalidHandle;
  --openContexts;
  return r::kSuccess;
}

Result FakePcsc::ListReaders(pcsc::Context, std::vector<std::string>& names) {
  const Result result = Enter("ListReaders");
  if (result != r::kSuccess) return result;
  if (readers.empty()) return r::kNoReaders;
  names.clear();
  for (const FakeReader& reader : readers) names.push_back(reader.name);
  return r::kSuccess;
}

Result FakePcsc::GetStatusChange(pcsc::Context context, Milliseconds timeout, const std::string& name,
                                 std::uint32_t currentState, std::uint32_t& eventState) {
  const Result result = Enter("GetStatusChange");
  if (result != r::kSuccess) return result;
  std::unique_lock lock(mutex_);
  if (!contexts_.count(context)) return r::kInvalidHandle;
  if (std::exchange(cancelPending_, false)) return r::kCancelled;
  if (!Find(name)) return r::kUnknownReader;
  const auto changed = [&] { return (StateOf(*Find(name)) & ~s::kChanged) != currentState; };
  const Milliseconds deadline = now_ + timeout;
  while (!changed()) {
    if (!moves.empty() && moves.front().at <= deadline) {
      now_ = std::max(now_, moves.front().at);
      Move(moves.front().reader, moves.front().present);
      moves.pop_front();
      continue;
    }
    if (blockingWaits && timeout.count() > 0) {
      cancelled_.wait(lock, [&] { return cancelPending_; });
      cancelPending_ = false;
      return r::kCancelled;
    }
    now_ = deadline;
    eventState = currentState;
    return r::kTimeout;
  }
  eventState = StateOf(*Find(name)) | s::kChanged;
  return r::kSuccess;
}

Result FakePcsc::Cancel(pcsc::Context) {
  std::lock_guard lock(mutex_);
  cancelPending_ = true;
  cancelled_.notify_all();
  return r::kSuccess;
}

Result FakePcsc::Connect(pcsc::Context context, const std::string& name, pcsc::Handle& card,
                         pcsc::Protocol& active) {
  const Result result = Enter("Connect");
  if (result != r::kSuccess) return result;
  if (!contexts_.count(context)) return r::kInvalidHandle;
  const FakeReader* reader = Find(name);
  if (!reader) return r::kUnknownReader;
  if (!reader->present) return r::kNoSmartcard;
  card = nextHandle_++;
  connections_[card] = {name, reader->events};
  active = reader->protocol;
  return r::kSuccess;
}

Result FakePcsc::Reconnect(pcsc::Handle card, pcsc::Disposition initialization, pcsc::Protocol& active) {
  Result result = Enter("Reconnect", NameOf(initialization));
  FakeReader* reader = nullptr;
  if (result == r::kSuccess) result = Check(card, reader);
  if (result == r::kSuccess) active = reader->protocol;
  return result;
}

Result FakePcsc::Disconnect(pcsc::Handle card, pcsc::Disposition disposition) {
  Result result = Enter("Disconnect", NameOf(disposition));
  if (result != r::kSuccess) return result;
  const auto connection = connections_.find(card);
  if (connection == connections_.end()) return r::kInvalidHandle;
  const FakeReader* reader = Find(connection->second.reader);
  if (disposition == pcsc::Disposition::Eject && reader && !reader->canEject) return r::kProtoMismatch;
  connections_.erase(connection);
  return r::kSuccess;
}

Result FakePcsc::Status(pcsc::Handle card, Bytes& atr) {
  Result result = Enter("Status");
  FakeReader* reader = nullptr;
  if (result == r::kSuccess) result = Check(card, reader);
  if (result == r::kSuccess) atr = reader->atr;
  return result;
}

Result FakePcsc::Transmit(pcsc::Handle card, pcsc::Protocol protocol, const Bytes& command, Bytes& response) {
  Result result = Enter("Transmit", protocol == pcsc::Protocol::T0 ? "T0" : "T1");
  FakeReader* reader = nullptr;
  if (result == r::kSuccess) result = Check(card, reader);
  if (result == r::kSuccess) response = this->card(command);
  return result;
}

}  // namespace pcsc_test
