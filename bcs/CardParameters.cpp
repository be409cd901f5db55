#include "bcs/CardParameters.h"

CardParameters& CardParams() {
  static CardParameters params;
  return params;
}

void ResetForNewPanel(CardParameters& params) {
  params.waitingTimeText = "0";
  params.acousticSignal = 0;
}

WaitingTimeEntry ParseWaitingTime(std::string_view text) {
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  for (char c : text)
    if (!isDigit(c) && c != ' ') return {WaitingTimeVerdict::NotDecimal, 0};
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return {WaitingTimeVerdict::OutOfRange, 0};
  std::int32_t seconds = 0;
  // At most 4 characters reach here, so the number cannot overflow; longer input is still bounded.
  for (; i < text.size() && isDigit(text[i]); ++i) {
    seconds = seconds * 10 + (text[i] - '0');
    if (seconds > 255) return {WaitingTimeVerdict::OutOfRange, 0};
  }
  return {WaitingTimeVerdict::Accepted, seconds};
}

std::string_view RefusalText(WaitingTimeVerdict verdict) {
  return verdict == WaitingTimeVerdict::NotDecimal ? "Only decimal input allowed!"
                                                   : "Only waiting time between 0 and 255 supported!";
}
