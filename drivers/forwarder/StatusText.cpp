#include "drivers/forwarder/StatusText.h"

#include <algorithm>

namespace forwarder {

namespace {
// before + file + after in kStatusLength characters, keeping the end of the file path, where its
// name is.
std::string Fit(std::string_view before, std::string_view file, std::string_view after) {
  constexpr std::string_view kEllipsis = "...";
  const std::size_t room = kStatusLength - std::min(kStatusLength, before.size() + after.size());
  std::string text(before);
  if (file.size() <= room) {
    text += file;
  } else if (room > kEllipsis.size()) {
    text += kEllipsis;
    text += file.substr(file.size() - (room - kEllipsis.size()));
  }
  text += after;
  text.resize(std::min(text.size(), kStatusLength));
  return text;
}

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
      return Fit("Forwarder: cannot read ", fault.file, ErrorNumber(fault.error));
    case Failure::SettingsTooLarge:
      return Fit("Forwarder: too large: ", fault.file, "");
    case Failure::NoLibrary:
      return Fit("Forwarder: no [Driver] Library= in ", fault.file, "");
    case Failure::BadLibrary:
      return Fit("Forwarder: unusable [Driver] Library= in ", fault.file, "");
    case Failure::NotLoadable:
      return Fit("Forwarder: cannot load ", fault.file, ErrorNumber(fault.error));
    case Failure::MissingFunction:
      return Fit("Forwarder: no " + fault.function + " in ", fault.file, "");
  }
  return "Forwarder: failed";
}

std::string ForwardingText(std::string_view driverFile) { return Fit("Forwarder to ", driverFile, ""); }

}  // namespace forwarder
