// Loads a firmware-check DLL the way an installer does and prints what it says.
//   halvex_probe DLL [--load-only] [--post-quit CODE]
// --load-only   look up the exports and call WEP, but not CheckFirmWare
// --post-quit   post a quit message first and report whether it survives the check
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using CheckFirmWareFn = int32_t(WINAPI*)();
using WepFn = int32_t(WINAPI*)(int32_t);

template <typename Fn>
Fn Export(HMODULE lib, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: halvex_probe DLL [--load-only] [--post-quit CODE]\n");
    return 2;
  }
  bool loadOnly = false;
  int postQuit = -1;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--load-only") == 0)
      loadOnly = true;
    else if (std::strcmp(argv[i], "--post-quit") == 0 && i + 1 < argc)
      postQuit = std::atoi(argv[++i]);
  }

  HMODULE lib = LoadLibraryA(argv[1]);
  if (!lib) {
    std::printf("cannot load %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  const auto check = Export<CheckFirmWareFn>(lib, "CheckFirmWare");
  const auto wep = Export<WepFn>(lib, "WEP");
  if (!check || !wep) {
    std::printf("%s lacks CheckFirmWare or WEP\n", argv[1]);
    return 1;
  }

  if (!loadOnly) {
    if (postQuit >= 0) PostQuitMessage(postQuit);
    std::printf("CheckFirmWare returned %d\n", static_cast<int>(check()));
    if (postQuit >= 0) {
      MSG msg;
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT) {
        std::printf("quit message %d still queued\n", static_cast<int>(msg.wParam));
      } else {
        std::printf("quit message lost\n");
      }
    }
  }
  std::printf("WEP returned %d\n", static_cast<int>(wep(0)));
  FreeLibrary(lib);
  return 0;
}
