#include "decode/Answer.h"

#include "decode/Hex.h"
#include "decode/TextRows.h"

namespace decode {
namespace {

constexpr std::uint8_t kClaBcs = 0x20;
constexpr std::uint8_t kInsResetAlternate = 0x10;
constexpr std::uint8_t kInsReset = 0x11;
constexpr std::uint8_t kInsRequestIcc = 0x12;
constexpr std::uint8_t kUnitTerminal = 0x00;
constexpr std::uint8_t kWholeAtr = 0x01;
constexpr std::uint8_t kHistoricalOnly = 0x02;
constexpr std::size_t kStatusWordLength = 2;

// What a RESET ICC or REQUEST ICC asks to get back: P2 01 the ATR, 02 its historical bytes.
AnswerData AskedFor(const Exchange& exchange) {
  const auto c = exchange.command;
  if (!exchange.toTerminal || c.size() < 4 || c[0] != kClaBcs) return AnswerData::None;
  if (c[1] != kInsReset && c[1] != kInsResetAlternate && c[1] != kInsRequestIcc) return AnswerData::None;
  if (c[2] == kUnitTerminal) return AnswerData::None;
  if ((c[3] & 0x0F) == kWholeAtr) return AnswerData::Atr;
  if ((c[3] & 0x0F) == kHistoricalOnly) return AnswerData::HistoricalBytes;
  return AnswerData::None;
}

std::optional<std::uint8_t> TerminalIns(const Exchange& exchange) {
  if (exchange.toTerminal && exchange.command.size() >= 2 && exchange.command[0] == kClaBcs)
    return exchange.command[1];
  return std::nullopt;
}

}  // namespace

Answer DecodeAnswer(const Exchange& exchange) {
  Answer answer;
  const auto response = exchange.response;
  std::span<const std::uint8_t> data = response;
  if (response.size() >= kStatusWordLength) {
    data = response.first(response.size() - kStatusWordLength);
    const std::uint8_t sw1 = response[response.size() - 2], sw2 = response.back();
    answer.status = exchange.toTerminal || exchange.fromTerminal
                        ? DecodeTerminalStatusWord(sw1, sw2, TerminalIns(exchange))
                        : DecodeStatusWord(sw1, sw2);
  }
  answer.data.assign(data.begin(), data.end());
  if (data.empty()) return answer;

  answer.kind = AskedFor(exchange);
  if (answer.kind == AnswerData::Atr) {
    answer.atr = DecodeAtr(data);
  } else if (answer.kind == AnswerData::HistoricalBytes) {
    answer.historical = DecodeHistoricalBytes(data);
  } else {
    answer.tlv = DecodeTlv(data, exchange.toTerminal ? TlvSource::Terminal : TlvSource::Card);
    answer.kind =
        answer.tlv.problems.empty() && !answer.tlv.objects.empty() ? AnswerData::Tlv : AnswerData::Bytes;
    if (answer.kind == AnswerData::Bytes) answer.tlv = {};
  }
  return answer;
}

std::vector<std::string> AnswerLines(const Answer& answer) {
  std::vector<std::string> lines;
  if (answer.status) {
    lines = StatusWordLines(*answer.status);
  } else {
    lines.push_back("No status word: the answer is shorter than two bytes");
  }
  if (answer.data.empty()) return lines;

  std::vector<std::string> detail;
  std::string heading;
  switch (answer.kind) {
    case AnswerData::Atr:
      heading = "ATR";
      detail = AtrLines(answer.atr);
      break;
    case AnswerData::HistoricalBytes:
      heading = "Historical bytes";
      detail = HistoricalLines(answer.historical);
      break;
    case AnswerData::Tlv:
      heading = "BER-TLV data objects";
      detail = TlvLines(answer.tlv);
      break;
    case AnswerData::None:
    case AnswerData::Bytes:
      heading = "Data";
      detail = HexDumpLines(answer.data);
      break;
  }
  lines.push_back(heading + ", " + Count(answer.data.size(), "byte") + ":");
  for (std::string& line : detail) lines.push_back("  " + line);
  return lines;
}

}  // namespace decode
