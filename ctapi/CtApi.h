#pragma once
// The four driver functions of ZEMTRAK.DLL, with the argument and result types every caller passes.
// 32-bit Windows CT-API drivers use the stdcall convention; everywhere else the default applies.

#if defined(_WIN32) && !defined(_WIN64)
#define CTAPI_CALL __stdcall
#else
#define CTAPI_CALL
#endif

extern "C" {
using CtInitFn = signed char CTAPI_CALL(unsigned short ctn, unsigned short pn);
using CtCloseFn = signed char CTAPI_CALL(unsigned short ctn);
using CtDataFn = signed char CTAPI_CALL(unsigned short ctn, unsigned char* dad, unsigned char* sad,
                                        unsigned short lenc, unsigned char* command, unsigned short* lenr,
                                        unsigned char* response);
using CtVersionFn = signed char CTAPI_CALL(char* buffer, int selector);
}

// CT-API addresses: the host sends, the card terminal answers.
constexpr unsigned char kAddressTerminal = 1;
constexpr unsigned char kAddressHost = 2;

// One bound driver. The program holds the ordinal imports of ZEMTRAK.DLL here; portable tests put
// fakes in their place.
struct CtDriver {
  CtInitFn* init;
  CtCloseFn* close;
  CtDataFn* data;
  CtVersionFn* version;
};
