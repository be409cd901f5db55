#include <windows.h>

#include <cstdint>

#include "firmware/FirmwareCheck.h"
#include "firmware/win/ProcessPort.h"

// Loading and unloading only run the runtime's own start-up and shutdown.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" int32_t WINAPI CheckFirmWare() {
  // One link for the whole process: the shadow control byte carries over.
  static halvex::ReaderLink link(halvex::ProcessPort());
  return halvex::CheckFirmWare(link);
}

// Kept for installers that still call it on unload.
extern "C" int32_t WINAPI WEP(int32_t) { return 1; }
