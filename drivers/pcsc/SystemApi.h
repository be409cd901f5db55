#pragma once
// The PC/SC of the system: winscard.dll on Windows, pcsc-lite on Linux.

#include "drivers/pcsc/PcscApi.h"

namespace pcsc {

Api& SystemApi();

}  // namespace pcsc
