#include "drivers/pcsc/PcscBridge.h"

#include <algorithm>
#include <cstring>
#include <variant>

#include "common/IniFile.h"
#include "decode/Hex.h"
#include "drivers/pcsc/ReaderChoice.h"

namespace pcsc {

namespace {
std::string ServiceFault(Result result) {
  if (result == result::kNoService || result == result::kServiceStopped) return "no PC/SC service running";
  if (result == result::kNoReaders) return "no reader";
  const auto code = static_cast<std::uint32_t>(result);
  const std::uint8_t bytes[] = {static_cast<std::uint8_t>(code >> 24), static_cast<std::uint8_t>(code >> 16),
                                static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code)};
  return "error 0x" + decode::HexBytes(bytes, "");
}
}  // namespace

std::string ReaderSetting(std::string_view iniText) {
  return ini::IniFile(iniText).Value("PCSC", "Reader").value_or(std::string());
}

PcscBridge::PcscBridge(Api& api, ReaderNameSource readerName, Now now)
    : api_(api),
      readerName_(std::move(readerName)),
      now_(std::move(now)),
      sessions_([this](std::uint16_t pn) { return Open(pn); }),
      version_("PC/SC: no reader chosen yet") {}

PcscBridge::~PcscBridge() = default;

void PcscBridge::SetVersion(std::string text) {
  std::lock_guard lock(versionMutex_);
  version_ = "PC/SC: " + std::move(text);
}

terminal::BcsTerminal* PcscBridge::Open(std::uint16_t pn) {
  Context context = 0;
  Result result = api_.EstablishContext(context);
  if (result != result::kSuccess) {
    SetVersion(ServiceFault(result));
    return nullptr;
  }
  std::vector<std::string> names;
  result = api_.ListReaders(context, names);
  const auto hasCard = [&](const std::string& name) {
    std::uint32_t event = state::kUnaware;
    return api_.GetStatusChange(context, Milliseconds(0), name, state::kUnaware, event) == result::kSuccess &&
           (event & state::kPresent);
  };
  std::variant<std::string, NoReader> choice = NoReader{ServiceFault(result)};
  if (result == result::kSuccess || result == result::kNoReaders) {
    choice = ChooseReader(names, pn, readerName_ ? readerName_() : std::string(), hasCard);
  }
  api_.ReleaseContext(context);

  if (const NoReader* none = std::get_if<NoReader>(&choice)) {
    SetVersion(none->why);
    return nullptr;
  }
  const std::string& name = std::get<std::string>(choice);
  SetVersion(name);
  std::lock_guard lock(readersMutex_);
  std::unique_ptr<Reader>& reader = readers_[name];
  if (!reader) {
    reader = std::make_unique<Reader>(api_, name, now_);
    reader->terminal.SetManufacturer(ManufacturerOf(name));
  }
  opened_ = reader.get();
  return &reader->terminal;
}

int PcscBridge::Init(std::uint16_t ctn, std::uint16_t pn) {
  std::lock_guard call(callMutex_);
  opened_ = nullptr;
  const int rc = sessions_.Init(ctn, pn);
  if (rc == terminal::ct::kOk) {
    std::lock_guard lock(readersMutex_);
    sessionReaders_[ctn] = opened_;
  }
  return rc;
}

int PcscBridge::Close(std::uint16_t ctn) {
  {
    std::lock_guard lock(readersMutex_);
    const auto session = sessionReaders_.find(ctn);
    if (session != sessionReaders_.end()) session->second->slot.Cancel();
  }
  std::lock_guard call(callMutex_);
  const int rc = sessions_.Close(ctn);
  if (rc != terminal::ct::kOk) return rc;

  std::lock_guard lock(readersMutex_);
  Reader* reader = sessionReaders_[ctn];
  sessionReaders_.erase(ctn);
  reader->slot.Resume();
  const bool inUse = std::any_of(sessionReaders_.begin(), sessionReaders_.end(),
                                 [&](const auto& session) { return session.second == reader; });
  if (!inUse) readers_.erase(reader->slot.Reader());
  return rc;
}

int PcscBridge::Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc,
                     const std::uint8_t* command, std::uint16_t* lenr, std::uint8_t* response) {
  std::lock_guard call(callMutex_);
  const int rc = sessions_.Data(ctn, dad, sad, lenc, command, lenr, response);
  const auto session = sessionReaders_.find(ctn);
  if (session != sessionReaders_.end() && session->second->slot.TakeTransportFault())
    return terminal::ct::kErrTrans;
  return rc;
}

int PcscBridge::Version(char* buffer, int) {
  if (!buffer) return terminal::ct::kErrInvalid;
  std::lock_guard lock(versionMutex_);
  const std::size_t n = std::min(version_.size(), kVersionCapacity);
  std::memcpy(buffer, version_.data(), n);
  if (n < kVersionCapacity) buffer[n] = '\0';
  return terminal::ct::kOk;
}

}  // namespace pcsc
