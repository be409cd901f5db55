#pragma once

#include "firmware/ReaderPort.h"

namespace halvex {

// The port the DLL talks through, made on first use so that loading the
// library touches nothing. Each DLL build links exactly one definition.
ReaderPort& ProcessPort();

}  // namespace halvex
