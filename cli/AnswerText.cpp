#include "cli/AnswerText.h"

#include "ctapi/CtApi.h"
#include "ctapi/ReturnCodeText.h"
#include "decode/Hex.h"
#include "decode/StatusWord.h"

namespace cli {

std::string AnswerHex(const CommandResult& result) { return decode::HexBytes(result.answer); }

std::string StatusWordMeaning(const CommandResult& result) {
  const std::size_t n = result.answer.size();
  if (n < 2) return {};
  const std::uint8_t sw1 = result.answer[n - 2], sw2 = result.answer[n - 1];
  constexpr std::uint8_t kTerminalClass = 0x20;
  const bool toTerminal = result.sentTo == kAddressTerminal && result.cla == kTerminalClass;
  const decode::StatusWord status = toTerminal ? decode::DecodeTerminalStatusWord(sw1, sw2, result.ins)
                                               : decode::DecodeStatusWord(sw1, sw2);
  return status.meaning;
}

std::string ReturnCodeLabel(int rc) {
  std::string label = "rc " + std::to_string(rc);
  if (const auto text = ReturnCodeText(rc)) {
    // "-8 (ERR_CT) ": the name in brackets is what a person looks for.
    const std::string_view t = *text;
    const std::size_t open = t.find('(');
    if (open != std::string_view::npos) label += " " + std::string(t.substr(open, t.find(')') - open + 1));
  }
  return label;
}

}  // namespace cli
