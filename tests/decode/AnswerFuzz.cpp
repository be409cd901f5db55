// Any command and answer: the status word, whichever table explains it, and the data by their kind.
// Input: a flags byte (bit 0 to the terminal, bit 1 from it), the command's length, the command,
// then the answer.
#include <cstdint>

#include "decode/Answer.h"
#include "tests/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const std::vector<std::uint8_t> command = in.Take(in.Byte());
  const std::vector<std::uint8_t> response = in.Take(size);
  const decode::Answer answer = decode::DecodeAnswer({command, response, (flags & 1) != 0, (flags & 2) != 0});
  if (answer.data.size() > response.size() || answer.status.has_value() != (response.size() >= 2))
    __builtin_trap();
  decode::AnswerLines(answer);
  if (response.size() >= 2) {
    const std::uint8_t ins = command.size() > 1 ? command[1] : 0;
    const std::uint8_t sw1 = response[response.size() - 2], sw2 = response.back();
    decode::StatusWordLines(decode::DecodeTerminalStatusWord(sw1, sw2, ins));
    if (decode::DecodeStatusWord(sw1, sw2).meaning.empty()) __builtin_trap();
  }
  return 0;
}
