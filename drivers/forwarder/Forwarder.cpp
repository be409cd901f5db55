#include "drivers/forwarder/Forwarder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <variant>

#include "drivers/forwarder/DriverSettings.h"
#include "drivers/forwarder/StatusText.h"

namespace forwarder {

namespace {
void CopyText(const std::string& text, char* buffer) {
  const std::size_t n = std::min(text.size(), kVersionBuffer - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}
}  // namespace

Forwarder::Forwarder(Platform& platform, bool stdcallNames)
    : platform_(platform), stdcallNames_(stdcallNames) {}

Forwarder::State Forwarder::Bind(bool retry) {
  const std::lock_guard lock(mutex_);
  if (!attempted_ || (retry && !state_.driver)) TryBind();
  attempted_ = true;
  return state_;
}

void Forwarder::TryBind() {
  const auto fail = [this](Fault fault) { state_ = {std::nullopt, FailureText(fault)}; };
  const std::string settingsPath = platform_.SettingsPath();
  const Platform::FileRead settings = platform_.ReadText(settingsPath, kMaxSettingsBytes);
  if (!settings.text) return fail({Failure::NoSettings, settingsPath, settings.error});
  if (settings.text->size() > kMaxSettingsBytes) return fail({Failure::SettingsTooLarge, settingsPath});
  const auto library = LibraryFromSettings(*settings.text);
  if (const SettingsFault* fault = std::get_if<SettingsFault>(&library)) {
    return fail(
        {*fault == SettingsFault::NoLibrary ? Failure::NoLibrary : Failure::BadLibrary, settingsPath});
  }

  const std::string name = ResolveLibrary(std::get<std::string>(library), settingsPath);
  const Platform::Loaded load = platform_.Load(name);
  if (!load.library) return fail({Failure::NotLoadable, name, load.error});
  const std::string path = platform_.LibraryPath(load.library);
  const auto find = [&](std::string_view function, int argumentBytes) -> void* {
    for (const std::string& exportName : ExportNames(function, argumentBytes, stdcallNames_)) {
      if (void* address = platform_.Find(load.library, exportName)) return address;
    }
    return nullptr;
  };

  CtDriver driver{reinterpret_cast<CtInitFn*>(find("CT_init", 4 + 4)),
                  reinterpret_cast<CtCloseFn*>(find("CT_close", 4)),
                  reinterpret_cast<CtDataFn*>(find("CT_data", 7 * 4)),
                  reinterpret_cast<CtVersionFn*>(find("CT_version", 4 + 4))};
  const char* missing = !driver.init    ? "CT_init"
                        : !driver.close ? "CT_close"
                        : !driver.data  ? "CT_data"
                                        : nullptr;
  if (missing) {
    platform_.Unload(load.library);
    return fail({Failure::MissingFunction, path, 0, missing});
  }
  state_ = {driver, ForwardingText(path)};
}

int Forwarder::Init(std::uint16_t ctn, std::uint16_t pn) {
  const State state = Bind(true);
  return state.driver ? state.driver->init(ctn, pn) : kErrHost;
}

int Forwarder::Close(std::uint16_t ctn) {
  const State state = Bind(false);
  return state.driver ? state.driver->close(ctn) : kErrHost;
}

int Forwarder::Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc,
                    std::uint8_t* command, std::uint16_t* lenr, std::uint8_t* response) {
  const State state = Bind(false);
  if (!state.driver) return kErrHost;
  if (!lenr) return state.driver->data(ctn, dad, sad, lenc, command, lenr, response);
  const std::uint16_t capacity = *lenr;
  const int rc = state.driver->data(ctn, dad, sad, lenc, command, lenr, response);
  // A length beyond the buffer would have the caller read past its end.
  if (*lenr > capacity) {
    *lenr = capacity;
    return kErrMemory;
  }
  return rc;
}

int Forwarder::Version(char* buffer, int selector) {
  if (!buffer) return kErrInvalid;
  const State state = Bind(false);
  if (!state.driver) {
    CopyText(state.status, buffer);
    return kErrHost;
  }
  if (!state.driver->version) {
    CopyText(state.status, buffer);
    return 0;
  }
  // The driver writes into room of its own, so a text longer than the caller's buffer, or one
  // without its NUL, reaches the caller cut and terminated.
  std::array<char, 1024> text{};
  const int rc = state.driver->version(text.data(), selector);
  text.back() = '\0';
  CopyText(text.data(), buffer);
  return rc;
}

}  // namespace forwarder
