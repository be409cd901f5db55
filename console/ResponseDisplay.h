#pragma once
// How the console shows a response: in the output line (hex or ASCII), in lines of 81 characters
// under a scroll bar, and as the "#" line of the log.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

enum class DisplayMode { Hex, Ascii };

constexpr int kOutputLineWidth = 81;

struct FormattedResponse {
  std::string display;  // "1,2    90 00 " or the printable part without the status bytes
  std::string log;      // "#1,2 9000\n"
  std::int16_t lineCount = 0;
};

// The addresses are those the driver wrote back. Wide addresses push the bytes to the right.
FormattedResponse FormatResponse(std::span<const std::uint8_t> response, std::uint8_t source,
                                 std::uint8_t destination, DisplayMode mode);

enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Thumb, Other };

// The scroll position after a request; pages move by one line like the arrows.
int MovedScrollPosition(int position, ScrollRequest request, int thumb);

struct ScrolledOutput {
  bool active = false;              // the line count allows scrolling: move the bar
  int position = 0;                 // kept within 0 .. line count
  std::optional<std::string> text;  // what the output line shows now; nothing: it keeps its text
};

// What the output line shows at the position, which is limited to the bar's range first.
ScrolledOutput ScrollOutput(std::string_view display, int lineCount, int position);
