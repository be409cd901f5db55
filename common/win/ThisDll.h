#pragma once
// The DLL this code is linked into, for the drivers that keep their settings file beside them.
#include <windows.h>

#include <string>
#include <string_view>

HMODULE ThisDll();
// The module's full path; empty when it cannot be had or is longer than MAX_PATH.
std::string ModulePath(HMODULE module);
// A file in the folder of this DLL; empty when the DLL's path cannot be had.
std::string FileBesideThisDll(std::string_view name);
