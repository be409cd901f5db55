#pragma once
#include "ctapi/CtApi.h"

// The driver bound at load time: ZEMTRAK.DLL's exports 2 to 5, imported by ordinal.
const CtDriver& ZemtrakDriver();
