#pragma once
// The handlers that CommandTable.cpp lists, each in a file of its own.

#include "cli/CommandTable.h"

namespace cli {}  // namespace cli
