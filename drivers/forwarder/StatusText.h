#pragma once
// The forwarder's own version texts: which driver it forwards to, or what kept it from forwarding.

#include <cstddef>
#include <string>
#include <string_view>

#include "common/VersionText.h"

namespace forwarder {

// The longest text shown whole; a long file path is shortened from the left to fit.
inline constexpr std::size_t kStatusLength = kVersionTextLength;

enum class Failure {
  NoSettings,        // file: the settings file; error: the system's error number
  SettingsTooLarge,  // file: the settings file
  NoLibrary,         // file: the settings file
  BadLibrary,        // file: the settings file
  NotLoadable,       // file: the library as loaded; error: the system's error number
  MissingFunction,   // file: the library; function: the missing one
};

struct Fault {
  Failure failure;
  std::string file;
  unsigned long error = 0;
  std::string function{};
};

std::string FailureText(const Fault& fault);
std::string ForwardingText(std::string_view driverFile);

}  // namespace forwarder
