// CT_data of the simulated driver with any settings, any sequence of calls and card movements, any
// bytes and lengths, and null pointers. The response buffer is exactly lenr long, so a write past
// it is caught; the manual clock makes every waiting time pass at once.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "sim/zemtrak/TerminalSim.h"
#include "tests/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* end = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
  const std::size_t settingsSize = end ? static_cast<std::size_t>(end - data) : 0;
  const std::string settings(reinterpret_cast<const char*>(data), settingsSize);
  FuzzInput in(data + settingsSize, size - settingsSize);

  sim::TerminalSim t([&] { return std::optional<std::string>(settings); },
                     std::make_unique<sim::ManualClock>());
  for (int steps = 0; !in.Empty() && steps < 64; ++steps) {
    const std::uint8_t op = in.Byte();
    const std::uint16_t ctn = op >> 6;
    switch (op & 0x07) {
      case 0:
        t.Init(ctn, in.Byte());
        break;
      case 1:
        t.Close(ctn);
        break;
      case 2:
        t.Slot().Insert(op & 0x08 ? sim::CardType::Memory : sim::CardType::Processor);
        break;
      case 3:
        t.Slot().Remove();
        break;
      case 4: {
        char version[sim::TerminalSim::kVersionCapacity];
        t.Version(op & 0x08 ? nullptr : version, 0);
        break;
      }
      default:
        FuzzCtData(t, ctn, op, in);
        break;
    }
  }
  return 0;
}
