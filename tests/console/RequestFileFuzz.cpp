// Any bytes load without a crash, and the lists stay within their slots.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "console/RequestFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CommandLists lists;
  const bool complete = LoadRequestText(std::string_view(reinterpret_cast<const char*>(data), size), lists);
  if (lists.commandCount < 0 || lists.commandCount > 99 || lists.descriptionCount < lists.commandCount ||
      lists.descriptionCount > 100 || complete == (lists.descriptionCount == 100))
    std::abort();
  return 0;
}
