#pragma once
// A simulated card: its answer to reset and its answers to APDUs while powered.

#include "terminal/CardSlot.h"

namespace sim {

using terminal::Bytes;

class SimCard {
 public:
  virtual ~SimCard() = default;
  virtual terminal::AnswerToReset PowerOn() = 0;
  virtual void PowerOff() = 0;
  virtual Bytes Process(const Bytes& apdu) = 0;
};

namespace sw {
const Bytes kOk{0x90, 0x00};
const Bytes kEndReached{0x62, 0x82};
const Bytes kWrongLength{0x67, 0x00};
const Bytes kPinBlocked{0x69, 0x83};
const Bytes kSecurityNotSatisfied{0x69, 0x82};
const Bytes kNoCurrentEf{0x69, 0x86};
const Bytes kNotEnoughMemory{0x6A, 0x84};
const Bytes kFileNotFound{0x6A, 0x82};
const Bytes kWrongP1P2{0x6A, 0x86};
const Bytes kReferenceNotFound{0x6A, 0x88};
const Bytes kWrongOffset{0x6B, 0x00};
const Bytes kUnknownInstruction{0x6D, 0x00};
const Bytes kUnknownClass{0x6E, 0x00};
}  // namespace sw

}  // namespace sim
