#pragma once
// The values a user sets for Request ICC and Eject ICC. They outlive the panel, so a second panel
// starts from the waiting time the first one left.
#include <cstdint>
#include <string>
#include <string_view>

enum class CardDirection { Insertion, Removal };

struct CardParameters {
  std::string waitingTimeText;   // what the parameter dialog's field shows, at most 4 characters
  std::int32_t waitingTime = 0;  // seconds, 0 to 255 once set
  int acousticSignal = 0;        // 1 while the check box was checked at the last accepted OK
  CardDirection direction = CardDirection::Insertion;
};

// The one program-wide instance.
CardParameters& CardParams();

// A new panel shows "0" in the field and starts without the signal; the waiting time stays.
void ResetForNewPanel(CardParameters& params);

constexpr std::size_t kWaitingTimeFieldLength = 4;

enum class WaitingTimeVerdict { Accepted, NotDecimal, OutOfRange };

struct WaitingTimeEntry {
  WaitingTimeVerdict verdict;
  std::int32_t seconds;  // when accepted
};

// The field's text as typed: digits and blanks only; leading blanks are skipped and the number
// ends at the first non-digit, so "1 2" is 1. A field without any digit is refused as out of range.
WaitingTimeEntry ParseWaitingTime(std::string_view text);

// The message that refuses an entry.
std::string_view RefusalText(WaitingTimeVerdict verdict);
