// Any command text, typed or from a request file: parsing stays within its limits, and the
// response display of whatever comes back is the size the scroll arithmetic expects.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "console/CommandText.h"
#include "console/ResponseDisplay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CommandAddresses addresses{2, 1};
  std::vector<std::uint8_t> bytes;
  if (ParseCommandText(text, addresses, bytes) == CommandTextVerdict::Accepted &&
      bytes.size() > kMaxCommandBytes)
    __builtin_trap();

  // The same bytes as a driver's answer, up to the console's 4096-byte buffer.
  const std::span<const std::uint8_t> response(data, std::min<std::size_t>(size, 4096));
  const FormattedResponse hex =
      FormatResponse(response, addresses.source, addresses.destination, DisplayMode::Hex);
  if (hex.display.size() < 7 + 3 * response.size()) __builtin_trap();
  const FormattedResponse ascii =
      FormatResponse(response, addresses.source, addresses.destination, DisplayMode::Ascii);
  for (int position = -1; position <= ascii.lineCount + 1; ++position) {
    ScrollOutput(ascii.display, ascii.lineCount, position);
    ScrollOutput(hex.display, hex.lineCount, position);
  }
  return 0;
}
