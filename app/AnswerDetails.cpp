#include "app/AnswerDetails.h"

#include <span>
#include <string_view>
#include <vector>

#include "ctapi/CtApi.h"
#include "ctapi/ReturnCodeText.h"
#include "decode/Answer.h"
#include "decode/Hex.h"
#include "decode/TextRows.h"

namespace {

// Long commands and answers wrap, so the window needs no wide scrolling for the bytes.
constexpr std::size_t kBytesPerLine = 16;

std::string_view PanelName(ExchangePanel panel) {
  return panel == ExchangePanel::TestConsole ? "test console" : "CT-BCS panel";
}

void AddBytes(std::vector<decode::TextRow>& rows, std::string label, std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) rows.push_back({std::move(label), "none", ""});
  for (std::size_t at = 0; at < bytes.size(); at += kBytesPerLine) {
    rows.push_back({at == 0 ? std::move(label) : std::string(),
                    decode::HexBytes(bytes.subspan(at).first(std::min(kBytesPerLine, bytes.size() - at))),
                    ""});
  }
}

std::string ResultText(int rc) {
  if (IsCtSuccess(rc)) return std::to_string(rc) + " (OK)";
  if (const auto text = ReturnCodeText(rc)) return std::string(*text);
  return std::to_string(rc);
}

}  // namespace

std::string AnswerDetailsText(const std::optional<Exchange>& exchange) {
  if (!exchange) return kNoExchangeYet;
  std::vector<decode::TextRow> rows;
  rows.push_back({"Sent by", std::string(PanelName(exchange->panel)), ""});
  rows.push_back({"Addresses", std::to_string(exchange->sad) + "," + std::to_string(exchange->dad), ""});
  AddBytes(rows, "Command", exchange->command);
  rows.push_back({"CT_data", ResultText(exchange->rc), ""});
  if (IsCtSuccess(exchange->rc)) AddBytes(rows, "Answer", exchange->response);

  std::vector<std::string> lines = decode::AlignedLines(rows);
  if (!exchange->response.empty()) {
    const decode::Answer answer =
        decode::DecodeAnswer({exchange->command, exchange->response, exchange->dad == kAddressTerminal,
                              exchange->answeredBy == kAddressTerminal});
    lines.emplace_back();
    for (std::string& line : decode::AnswerLines(answer)) lines.push_back(std::move(line));
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}
