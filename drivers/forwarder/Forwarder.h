#pragma once
// The forwarding driver: binds the CT-API library that ZEMTRAK.INI names at the first call, then
// passes every call on to it. The system's side (files, libraries) comes through Platform.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "ctapi/CtApi.h"

namespace forwarder {

inline constexpr int kErrInvalid = -1;
inline constexpr int kErrMemory = -11;
inline constexpr int kErrHost = -127;
// What CT_version callers give: a 120-byte buffer.
inline constexpr std::size_t kVersionBuffer = 120;

#if defined(_WIN32) && !defined(_WIN64)
inline constexpr bool kStdcallNames = true;
#else
inline constexpr bool kStdcallNames = false;
#endif

class Platform {
 public:
  struct FileRead {
    std::optional<std::string> text;  // at most limit + 1 bytes, so a larger file shows
    unsigned long error = 0;          // the system's error number when there is no text
  };
  struct Loaded {
    void* library = nullptr;
    unsigned long error = 0;  // when library is null
  };

  virtual ~Platform() = default;
  virtual std::string SettingsPath() = 0;
  virtual FileRead ReadText(const std::string& path, std::size_t limit) = 0;
  virtual Loaded Load(const std::string& name) = 0;
  virtual void* Find(void* library, const std::string& name) = 0;
  virtual std::string LibraryPath(void* library) = 0;
  virtual void Unload(void* library) = 0;
};

class Forwarder {
 public:
  explicit Forwarder(Platform& platform, bool stdcallNames = kStdcallNames);

  // CT_init also retries a binding that failed, so a corrected settings file takes effect
  // without restarting the program; the other calls bind only the first time.
  int Init(std::uint16_t ctn, std::uint16_t pn);
  int Close(std::uint16_t ctn);
  int Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc, std::uint8_t* command,
           std::uint16_t* lenr, std::uint8_t* response);
  // Writes at most kVersionBuffer bytes, always NUL-terminated: the driver's own text, or else
  // the forwarder's, naming the driver or what failed.
  int Version(char* buffer, int selector);

 private:
  struct State {
    std::optional<CtDriver> driver;  // version may be null
    std::string status;
  };
  State Bind(bool retry);
  void TryBind();

  Platform& platform_;
  const bool stdcallNames_;
  std::mutex mutex_;
  bool attempted_ = false;
  State state_;
};

}  // namespace forwarder
