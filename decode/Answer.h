#pragma once
// What an answer to a command is: the status word at its end, and the data before it taken as an
// ATR, the historical bytes, a BER-TLV tree or plain bytes, by the command and the data.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "decode/Atr.h"
#include "decode/StatusWord.h"
#include "decode/Tlv.h"

namespace decode {

struct Exchange {
  std::span<const std::uint8_t> command;
  std::span<const std::uint8_t> response;
  bool toTerminal = false;  // the command went to the terminal (destination address 1)
  bool fromTerminal =
      false;  // the terminal answered (source address 1), as when a card command finds no card
};

enum class AnswerData {
  None,
  Atr,              // RESET ICC or REQUEST ICC asking for the whole ATR
  HistoricalBytes,  // the same asking for the historical bytes only
  Tlv,              // data that parse completely as BER-TLV
  Bytes,            // anything else
};

struct Answer {
  std::optional<StatusWord> status;  // none when the answer is shorter than a status word
  AnswerData kind = AnswerData::None;
  std::vector<std::uint8_t> data;  // the bytes before the status word
  Atr atr;
  HistoricalBytes historical;
  TlvTree tlv;
};

Answer DecodeAnswer(const Exchange& exchange);

// The status word, then the data by their kind; hex with ASCII for plain bytes.
std::vector<std::string> AnswerLines(const Answer& answer);

}  // namespace decode
