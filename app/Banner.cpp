#include "app/Banner.h"

namespace {
constexpr std::size_t kLineBufferSize = 120;
}

std::array<std::string, 3> BannerLines(const std::string& driverVersion) {
  std::string dllLine = "Tovamic DLL " + driverVersion;
  if (dllLine.size() > kLineBufferSize - 1) dllLine.resize(kLineBufferSize - 1);
  return {"Tovamic Test Program  V1.67-W32", dllLine, "(c) Kelvanor team - card terminal tests"};
}
