#include "common/win/ThisDll.h"

HMODULE ThisDll() {
  // Each DLL links its own copy of this function, so its address lies in that DLL.
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisDll), &module);
  return module;
}

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::string() : std::string(path, n);
}

std::string FileBesideThisDll(std::string_view name) {
  std::string file = ModulePath(ThisDll());
  if (file.empty()) return file;
  file.replace(file.find_last_of("\\/") + 1, std::string::npos, name);
  return file;
}
