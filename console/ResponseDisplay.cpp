#include "console/ResponseDisplay.h"

#include <algorithm>

namespace {

constexpr char kDigits[] = "0123456789abcdef";

// "%.1x": as many digits as the value needs.
void AppendAddress(std::string& out, std::uint8_t a) {
  if (a >> 4) out += kDigits[a >> 4];
  out += kDigits[a & 0xF];
}

std::string AddressPair(std::uint8_t source, std::uint8_t destination) {
  std::string pair;
  AppendAddress(pair, source);
  pair += ',';
  AppendAddress(pair, destination);
  return pair;
}

}  // namespace

FormattedResponse FormatResponse(std::span<const std::uint8_t> response, std::uint8_t source,
                                 std::uint8_t destination, DisplayMode mode) {
  FormattedResponse out;
  const std::string addresses = AddressPair(source, destination);
  const std::size_t length = response.size();
  // Sized once and written in place: a full buffer makes some 20000 characters per command.
  if (mode == DisplayMode::Hex) {
    out.display = addresses + "    ";
    const std::size_t at = out.display.size();
    out.display.resize(at + 3 * length);
    char* p = out.display.data() + at;
    for (std::uint8_t b : response) {
      *p++ = kDigits[b >> 4];
      *p++ = kDigits[b & 0xF];
      *p++ = ' ';
    }
    out.lineCount = static_cast<std::int16_t>(3 * length / kOutputLineWidth + 1);
  } else {
    // The status bytes SW1 SW2 are not text.
    const std::size_t textLength = length >= 2 ? length - 2 : 0;
    out.display.resize(textLength);
    char* p = out.display.data();
    for (std::uint8_t b : response.first(textLength))
      *p++ = (b < 0x20 || b >= 0x80) ? ' ' : static_cast<char>(b);
    out.lineCount = static_cast<std::int16_t>(length / kOutputLineWidth + 1);
  }
  out.log = "#" + addresses + " ";
  const std::size_t at = out.log.size();
  out.log.resize(at + 2 * length + 1);
  char* p = out.log.data() + at;
  for (std::uint8_t b : response) {
    *p++ = kDigits[b >> 4];
    *p++ = kDigits[b & 0xF];
  }
  *p = '\n';
  return out;
}

int MovedScrollPosition(int position, ScrollRequest request, int thumb) {
  switch (request) {
    case ScrollRequest::LineUp:
    case ScrollRequest::PageUp:
      return position - 1;
    case ScrollRequest::LineDown:
    case ScrollRequest::PageDown:
      return position + 1;
    case ScrollRequest::Thumb:
      return thumb;
    case ScrollRequest::Other:
      break;
  }
  return position;
}

ScrolledOutput ScrollOutput(std::string_view display, int lineCount, int position) {
  ScrolledOutput out;
  out.position = position;
  if (lineCount <= 2) return out;
  out.active = true;
  out.position = std::clamp(position, 0, lineCount);
  // At the end of the range the output line keeps what it shows; in ASCII mode a line may start
  // past the end of a short text, which then shows nothing.
  if (out.position < lineCount) {
    const std::size_t from =
        static_cast<std::size_t>(kOutputLineWidth) * static_cast<std::size_t>(out.position);
    out.text = std::string(display.substr(std::min(from, display.size())));
  }
  return out;
}
