// A CT-API library that lacks CT_data, for the forwarder's "function missing" report.
#include "ctapi/CtApi.h"

extern "C" {
__declspec(dllexport) signed char CTAPI_CALL CT_init(unsigned short, unsigned short) { return 0; }
__declspec(dllexport) signed char CTAPI_CALL CT_close(unsigned short) { return 0; }
}
