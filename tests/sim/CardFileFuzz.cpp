// Card files with any bytes in them, and the cards they make answering any commands: the text up
// to the first NUL is the card file, the rest a script of commands (a length byte, then the bytes),
// with a power cycle where a length byte has its top bits set.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "sim/card/CardFile.h"
#include "sim/card/MemoryCard.h"
#include "sim/card/ProcessorCard.h"
#include "tests/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* end = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
  const std::size_t textSize = end ? static_cast<std::size_t>(end - data) : size;
  const std::string text(reinterpret_cast<const char*>(data), textSize);
  const sim::ParsedCardFile parsed =
      sim::ParseCardFile(text, [](const std::string& name) -> std::optional<std::string> {
        if (name.empty()) return std::nullopt;
        return std::string(name.size() * 7 % 300, '\x5A');
      });
  if (!parsed.card) {
    if (parsed.error.message.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  std::unique_ptr<sim::SimCard> card;
  if (const auto* processor = std::get_if<sim::ProcessorSpec>(&parsed.card->card)) {
    card = std::make_unique<sim::ProcessorCard>(*processor);
  } else {
    card = std::make_unique<sim::MemoryCard>(std::get<sim::MemorySpec>(parsed.card->card));
  }
  card->PowerOn();
  FuzzInput in(data + textSize, size - textSize);
  for (int steps = 0; !in.Empty() && steps < 64; ++steps) {
    const std::uint8_t length = in.Byte();
    if (length >= 0xF0) {
      card->PowerOff();
      card->PowerOn();
      continue;
    }
    const sim::Bytes answer = card->Process(in.Take(length));
    if (answer.size() < 2 || answer.size() > 258) __builtin_trap();
  }
  return 0;
}
