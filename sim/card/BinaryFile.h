#pragma once
// READ BINARY and UPDATE BINARY on the bytes of a transparent file, with ISO 7816-4 status words.

#include "sim/card/SimCard.h"
#include "terminal/CommandApdu.h"

namespace sim {

Bytes ReadBinary(const Bytes& file, const terminal::CommandApdu& apdu);
Bytes UpdateBinary(Bytes& file, const terminal::CommandApdu& apdu);

}  // namespace sim
