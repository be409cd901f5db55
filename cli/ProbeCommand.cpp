// kelvanor-cli probe: which terminals a driver reaches, what they say of themselves and their card.
#include <array>

#include "cli/AtrJson.h"
#include "cli/DriverOptions.h"
#include "cli/Json.h"
#include "cli/Subcommands.h"
#include "console/ConsoleLogLines.h"
#include "ctapi/CtExchange.h"
#include "ctapi/ReturnCodeText.h"
#include "decode/Atr.h"
#include "decode/Hex.h"
#include "decode/StatusWord.h"

namespace cli {
namespace {

constexpr OptionSpec kProbeOptions[] = {
    {"--driver", true}, {"--ordinals", false}, {"--ctn", true}, {"--ports", true}, {"--port", true}, {"--json", false},
};

using Bytes = std::vector<std::uint8_t>;

struct Query {
  std::string_view key;   // in --json
  std::string_view what;  // for a person
  Bytes command;
};

// GET STATUS of the terminal's manufacturer data, functional units and card status, then REQUEST
// ICC without waiting for the ATR of a card already in.
const Query kStatusQueries[] = {
    {"manufacturer", "manufacturer data (GET STATUS 46)", {0x20, 0x13, 0x00, 0x46, 0x00}},
    {"functional_units", "functional units (GET STATUS 81)", {0x20, 0x13, 0x00, 0x81, 0x00}},
    {"card_status", "card status (GET STATUS 80)", {0x20, 0x13, 0x00, 0x80, 0x00}},
};
const Query kRequestIcc{"atr", "ATR (REQUEST ICC)", {0x20, 0x12, 0x01, 0x01, 0x00}};

struct Answer {
  int rc = 0;
  Bytes bytes;
};

Answer Ask(const CtDriver& driver, std::uint16_t ctn, const Bytes& command) {
  std::array<std::uint8_t, 4096> response;
  std::uint8_t dad = kAddressTerminal, sad = kAddressHost;
  const CtExchangeResult result = ExchangeCommand(driver, ctn, dad, sad, command, response);
  if (!IsCtSuccess(result.rc)) return {result.rc, {}};
  if (result.reportedLength > response.size()) return {-11, {}};
  return {result.rc, Bytes(response.begin(), response.begin() + result.responseLength)};
}

bool Succeeded(const Answer& a) {
  const std::size_t n = a.bytes.size();
  return IsCtSuccess(a.rc) && n >= 2 && a.bytes[n - 2] == 0x90;
}

// The status byte of GET STATUS 80, raw (xx 90 00) or as a data object (80 01 xx 90 00).
std::optional<std::uint8_t> CardStatus(const Answer& a) {
  if (!Succeeded(a)) return std::nullopt;
  const Bytes& b = a.bytes;
  if (b.size() >= 5 && b[0] == 0x80 && b[1] == 0x01) return b[2];
  if (b.size() >= 3) return b[0];
  return std::nullopt;
}

// The data before the status word as text where it is printable, as the manufacturer data is.
std::string Printable(const Bytes& b) {
  std::string text;
  for (std::size_t i = 0; i + 2 < b.size(); ++i) text += (b[i] >= 0x20 && b[i] < 0x7F) ? static_cast<char>(b[i]) : '.';
  return text;
}

std::string AnswerLine(const Answer& a, std::uint8_t ins) {
  if (!IsCtSuccess(a.rc)) return DriverErrorText(a.rc, kCtDataErrorPrefix);
  std::string line = decode::HexBytes(a.bytes);
  if (a.bytes.size() >= 2) {
    const std::size_t n = a.bytes.size();
    line += "  " + decode::DecodeTerminalStatusWord(a.bytes[n - 2], a.bytes[n - 1], ins).meaning;
  }
  return line;
}

// The ATR of REQUEST ICC's answer, without its status word.
std::optional<decode::Atr> AtrOf(const Query& query, const Answer& answer) {
  if (&query != &kRequestIcc || !Succeeded(answer) || answer.bytes.size() < 3) return std::nullopt;
  return decode::DecodeAtr(std::span(answer.bytes).first(answer.bytes.size() - 2));
}

struct PortProbe {
  std::uint16_t port = 0;
  int initRc = 0;
  std::string version;  // the driver's CT_version text, which may name the reader behind the port
  std::vector<std::pair<const Query*, Answer>> answers;
  std::optional<std::uint8_t> cardStatus;
  int closeRc = 0;
};

PortProbe Probe(const CtDriver& driver, std::uint16_t ctn, std::uint16_t port) {
  PortProbe probe;
  probe.port = port;
  probe.initRc = driver.init(ctn, port);
  if (!IsCtSuccess(probe.initRc)) return probe;
  if (driver.version) probe.version = ReadDriverVersion(driver);
  for (const Query& q : kStatusQueries) {
    probe.answers.emplace_back(&q, Ask(driver, ctn, q.command));
    if (q.key == "card_status") probe.cardStatus = CardStatus(probe.answers.back().second);
  }
  constexpr std::uint8_t kCardPresent = 0x01;
  if (probe.cardStatus && (*probe.cardStatus & kCardPresent))
    probe.answers.emplace_back(&kRequestIcc, Ask(driver, ctn, kRequestIcc.command));
  probe.closeRc = driver.close(ctn);
  return probe;
}

void PrintForPerson(const PortProbe& p, CliConsole& console) {
  std::string text = "Port " + std::to_string(p.port) + ": " +
                     DriverResultText(p.initRc, kCtInitOkText, kCtInitErrorPrefix) + "\n";
  if (!p.version.empty()) text += "  driver: " + p.version + "\n";
  for (const auto& [query, answer] : p.answers) {
    text += "  " + std::string(query->what) + ": " + AnswerLine(answer, query->command[1]) + "\n";
    if (query->key == "manufacturer" && Succeeded(answer)) text += "    \"" + Printable(answer.bytes) + "\"\n";
    if (const auto atr = AtrOf(*query, answer))
      for (const std::string& line : decode::AtrLines(*atr)) text += "    " + line + "\n";
  }
  if (p.cardStatus)
    text += std::string("  card: ") + (*p.cardStatus & 0x01 ? (*p.cardStatus & 0x04 ? "in, activated" : "in") : "none") + "\n";
  if (IsCtSuccess(p.initRc) && !IsCtSuccess(p.closeRc))
    text += "  CT_close: " + DriverErrorText(p.closeRc, kCtCloseErrorPrefix) + "\n";
  console.Out(text);
}

void WriteJson(const PortProbe& p, JsonWriter& json) {
  json.BeginObject().Key("port").Number(std::int64_t{p.port}).Key("init_rc").Number(std::int64_t{p.initRc});
  if (!p.version.empty()) json.Key("driver_version").String(p.version);
  for (const auto& [query, answer] : p.answers) {
    json.Key(query->key).BeginObject().Key("rc").Number(std::int64_t{answer.rc});
    json.Key("answer").String(decode::HexBytes(answer.bytes));
    if (answer.bytes.size() >= 2)
      json.Key("meaning").String(
          decode::DecodeTerminalStatusWord(answer.bytes[answer.bytes.size() - 2], answer.bytes.back(), query->command[1])
              .meaning);
    if (query->key == "manufacturer" && Succeeded(answer)) json.Key("text").String(Printable(answer.bytes));
    if (const auto atr = AtrOf(*query, answer)) WriteAtrJson(*atr, json.Key("decoded"));
    json.EndObject();
  }
  if (p.cardStatus) json.Key("card_present").Bool(*p.cardStatus & 0x01);
  if (IsCtSuccess(p.initRc)) json.Key("close_rc").Number(std::int64_t{p.closeRc});
  json.EndObject();
}

}  // namespace

int ProbeDriver(Arguments args, CliConsole& console) {
  std::string error;
  const auto options = ParseDriverOptions(args, kProbeOptions, {0, 1, 2, 3, 4, 5, 6, 7}, error);
  if (options && !options->arguments.empty()) error = "unexpected argument " + options->arguments.front();
  if (!options || !error.empty()) {
    console.Err("kelvanor-cli probe: " + error + "\n");
    return kExitCannotRun;
  }
  const auto driver = LoadDriver(options->driver, error);
  if (!driver) {
    console.Err("kelvanor-cli probe: " + error + "\n");
    return kExitCannotRun;
  }
  JsonWriter json;
  json.BeginObject().Key("ports").BeginArray();
  bool reached = false;
  for (const std::uint16_t port : options->ports) {
    const PortProbe probe = Probe(*driver, options->ctn, port);
    reached = reached || IsCtSuccess(probe.initRc);
    options->json ? WriteJson(probe, json) : PrintForPerson(probe, console);
  }
  json.EndArray().EndObject();
  if (options->json) console.Out(json.Text());
  if (!reached) {
    console.Err("kelvanor-cli probe: the driver reaches no terminal on these ports\n");
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace cli
