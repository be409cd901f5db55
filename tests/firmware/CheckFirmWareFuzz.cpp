// Runs the whole check against a simulated reader whose read reply is the
// fuzzer's input, so the reply travels through the port protocol as well.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "firmware/FirmwareCheck.h"
#include "sim/halvex/SimBus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2047) return 0;  // the most the length registers can announce
  halvexsim::CardConfig config;
  config.readReply = std::vector<uint8_t>(data, data + size);
  halvexsim::SimBus bus;
  bus.SetRecording(false);
  halvexsim::InterfaceCard& card = bus.AddCard(config);

  halvex::ReaderLink link(bus);
  const int32_t result = halvex::CheckFirmWare(link);
  if (result != 0 && result != 1 && result != 5) std::abort();
  if (card.LeftOutOfStep() || link.controlByte != 0) std::abort();
  return 0;
}
