// Whatever a driver answers, the caller never reads past its response buffer.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ctapi/CtExchange.h"

namespace {
const std::uint8_t* answer;
std::size_t answerSize;

signed char CTAPI_CALL Data(unsigned short, unsigned char* dad, unsigned char* sad, unsigned short,
                            unsigned char*, unsigned short* lenr, unsigned char* response) {
  // First five bytes steer the driver: reported length, addresses, return code.
  if (answerSize < 5) return -1;
  const unsigned short capacity = *lenr;
  *lenr = static_cast<unsigned short>(answer[0] | answer[1] << 8);
  *dad = answer[2];
  *sad = answer[3];
  const std::size_t n = std::min<std::size_t>(answerSize - 5, capacity);
  if (n) std::memcpy(response, answer + 5, n);
  return static_cast<signed char>(answer[4]);
}
signed char CTAPI_CALL Version(char* buffer, int) {
  std::memcpy(buffer, answer, std::min<std::size_t>(answerSize, kVersionBufferSize));
  return 0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  answer = data;
  answerSize = size;
  const CtDriver driver{nullptr, nullptr, &Data, &Version};
  std::uint8_t dad = 1, sad = 2;
  std::vector<std::uint8_t> response(size % 300);  // heap-sized, so ASan sees any overrun
  const std::uint8_t command[] = {0x20, 0x11, 0x00, 0x00};
  const auto result = ExchangeCommand(driver, 0, dad, sad, command, response);
  if (result.responseLength > response.size()) __builtin_trap();
  if (ReadDriverVersion(driver).size() > kVersionBufferSize) __builtin_trap();
  return 0;
}
