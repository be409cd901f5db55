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
      default: {
        std::uint8_t dad = in.Byte(), sad = in.Byte();
        std::uint16_t lenr = in.Word();
        const std::uint16_t lenc = in.Word();
        std::vector<std::uint8_t> command = in.Take(lenc);
        // Claim the whole length when the input ran short, with a buffer that really is that long.
        command.resize(lenc);
        std::vector<std::uint8_t> response(lenr);
        const bool nullCommand = op & 0x08, nullResponse = op & 0x10, nullLenr = op & 0x20;
        t.Data(ctn, &dad, &sad, lenc, nullCommand ? nullptr : command.data(), nullLenr ? nullptr : &lenr,
               nullResponse ? nullptr : response.data());
        break;
      }
    }
  }
  return 0;
}
