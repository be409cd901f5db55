// ZEMTRAK.DLL for PC/SC readers: the CT-API exports by ordinal over winscard.dll. The settings
// file ZEMTRAK.INI beside the DLL may name the reader.
#include <windows.h>

#include <string>

#include "common/IniFile.h"
#include "ctapi/CtApi.h"
#include "drivers/pcsc/PcscBridge.h"
#include "drivers/pcsc/SystemApi.h"

namespace {
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

std::string ReaderName() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(ThisModule(), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string file(path, n);
  file.replace(file.find_last_of("\\/") + 1, std::string::npos, "ZEMTRAK.INI");
  const std::optional<std::string> text = ini::ReadTextFile(file);
  return text ? pcsc::ReaderSetting(*text) : std::string();
}

// Never destroyed: winscard must not be called while the DLL is unloaded under the loader lock.
// CT_close gives the readers back; the service cleans up after a process that ends without it.
pcsc::PcscBridge& Bridge() {
  static auto* bridge = new pcsc::PcscBridge(pcsc::SystemApi(), ReaderName);
  return *bridge;
}
}  // namespace

extern "C" {

signed char CTAPI_CALL CT_init(unsigned short ctn, unsigned short pn) {
  return static_cast<signed char>(Bridge().Init(ctn, pn));
}

signed char CTAPI_CALL CT_close(unsigned short ctn) { return static_cast<signed char>(Bridge().Close(ctn)); }

signed char CTAPI_CALL CT_data(unsigned short ctn, unsigned char* dad, unsigned char* sad,
                               unsigned short lenc, unsigned char* command, unsigned short* lenr,
                               unsigned char* response) {
  return static_cast<signed char>(Bridge().Data(ctn, dad, sad, lenc, command, lenr, response));
}

signed char CTAPI_CALL CT_version(char* buffer, int selector) {
  return static_cast<signed char>(Bridge().Version(buffer, selector));
}

}  // extern "C"
