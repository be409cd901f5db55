// Typed and pasted text reaching the CT number field, and any start directory.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/CtNumberInput.h"
#include "session/LogPath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto number = ParseCtNumber(text)) {
    if (ParseCtNumber(std::to_string(*number)) != number) __builtin_trap();
  }
  const std::string path = BuildLogPath(text);
  constexpr std::string_view kName = "KELVAN.LOG";
  if (path.size() < kName.size() || path.substr(path.size() - kName.size()) != kName) __builtin_trap();
  if (path.size() > kCurrentDirectoryBufferSize + 11) __builtin_trap();
  return 0;
}
