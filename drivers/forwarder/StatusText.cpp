#include "drivers/forwarder/StatusText.h"

#include "common/VersionText.h"

namespace forwarder {

namespace {
std::string ErrorNumber(unsigned long error) {
  // The usual mistake: a 32-bit driver for a 64-bit program, or the other way round.
  constexpr unsigned long kBadExeFormat = 193;
  if (error == kBadExeFormat) return " (error 193: not for this architecture)";
  return " (error " + std::to_string(error) + ")";
}
}  // namespace

std::string FailureText(const Fault& fault) {
  switch (fault.failure) {
    case Failure::NoSettings:
      return FitPath("Forwarder: cannot read ", fault.file, ErrorNumber(fault.error));
    case Failure::SettingsTooLarge:
      return FitPath("Forwarder: too large: ", fault.file, "");
    case Failure::NoLibrary:
      return FitPath("Forwarder: no [Driver] Library= in ", fault.file, "");
    case Failure::BadLibrary:
      return FitPath("Forwarder: unusable [Driver] Library= in ", fault.file, "");
    case Failure::NotLoadable:
      return FitPath("Forwarder: cannot load ", fault.file, ErrorNumber(fault.error));
    case Failure::MissingFunction:
      return FitPath("Forwarder: no " + fault.function + " in ", fault.file, "");
  }
  return "Forwarder: failed";
}

std::string ForwardingText(std::string_view driverFile) { return FitPath("Forwarder to ", driverFile, ""); }

}  // namespace forwarder
