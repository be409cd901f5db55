#pragma once

#include "firmware/ReaderPort.h"

namespace halvex {

// The calling thread's queue: one message per call, any window.
ReaderPort::Dispatched PumpOneMessage();
void PostQuitAgain(int exitCode);

}  // namespace halvex
