#pragma once
// A decoded ATR as one JSON object, for atr --json and probe --json alike.

#include "cli/Json.h"
#include "decode/Atr.h"

namespace cli {

void WriteAtrJson(const decode::Atr& atr, JsonWriter& json);

}  // namespace cli
