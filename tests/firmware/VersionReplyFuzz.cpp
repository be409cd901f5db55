// Feeds arbitrary read replies to the element walk and the version conversion.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "firmware/VersionReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2048) return 0;  // the exchange buffer's size
  // An exactly sized copy, so any read past the reply is caught.
  const std::vector<uint8_t> reply(data, data + size);
  const auto text = halvex::FindVersionText(reply.data(), reply.size());
  if (!text) return 0;

  if (text->length > halvex::VersionTextMax || text->chars[text->length] != '\0') std::abort();
  if (std::memchr(text->chars, '.', text->length)) std::abort();

  const int32_t number = halvex::VersionNumber(*text);
  const int32_t result = halvex::ClassifyVersion(number);
  if (result != 0 && result != 1 && result != 5) std::abort();
  return 0;
}
