#include "sim/card/ProcessorCard.h"

#include <algorithm>
#include <chrono>
#include <string_view>

#include "sim/card/BinaryFile.h"

namespace sim {

namespace {
constexpr std::uint8_t kInsSelect = 0xA4;
constexpr std::uint8_t kInsReadBinary = 0xB0;
constexpr std::uint8_t kInsUpdateBinary = 0xD6;
constexpr std::uint8_t kInsReadRecord = 0xB2;
constexpr std::uint8_t kInsGetChallenge = 0x84;
constexpr std::uint8_t kInsVerify = 0x20;
constexpr std::uint8_t kInsGetResponse = 0xC0;
constexpr std::uint16_t kMf = 0x3F00;
constexpr std::size_t kChallengeMax = 32;
constexpr std::size_t kChallengeDefault = 8;
constexpr std::size_t kMaxAid = 16;

// SELECT's P2: which template answers, first occurrence only.
constexpr std::uint8_t kAnswerFci = 0x00, kAnswerFcp = 0x04, kAnswerNone = 0x0C;
// READ RECORD's P2: P1 is the record number.
constexpr std::uint8_t kRecordNumberInP1 = 0x04;

const Bytes kCommandIncompatible{0x69, 0x81};
const Bytes kConditionsNotSatisfied{0x69, 0x85};
const Bytes kRecordNotFound{0x6A, 0x83};

Bytes WithStatus(Bytes data, const Bytes& status) {
  data.insert(data.end(), status.begin(), status.end());
  return data;
}

void AddTlv(Bytes& out, std::uint8_t tag, const Bytes& value) {
  out.push_back(tag);
  out.push_back(static_cast<std::uint8_t>(value.size()));
  out.insert(out.end(), value.begin(), value.end());
}
}  // namespace

ProcessorSpec BuiltInProcessorSpec() {
  ProcessorSpec spec;
  // T=0, no interface bytes in use, eight historical bytes; neither 90 00 nor 90 01 appears in it.
  spec.atr = {0x3B, 0x68, 0x00, 0x00, 0x80, 0x4B, 0x4C, 0x56, 0x53, 0x49, 0x4D, 0x01};
  spec.historicalBytes.assign(spec.atr.begin() + 4, spec.atr.end());
  spec.selectAnswersTemplate = false;
  FileSpec mf;
  mf.fid = kMf;
  FileSpec ef;
  ef.kind = FileSpec::Kind::Transparent;
  ef.fid = 0x2F01;
  ef.parent = 0;
  constexpr std::string_view kContents = "KELVANOR TEST CARD";
  ef.contents.assign(kContents.begin(), kContents.end());
  ef.contents.resize(32, 0x00);
  ef.update = {AccessRule::Kind::Pin, 0x01};
  spec.files = {mf, ef};
  spec.pins = {{0x01, {'1', '2', '3', '4'}, 3}};
  return spec;
}

// A challenge need only differ from card to card and from run to run; the clock and the card's
// address do that without std::random_device, which weighs on the driver.
ProcessorCard::ProcessorCard(ProcessorSpec spec)
    : spec_(std::move(spec)),
      random_(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                         reinterpret_cast<std::uintptr_t>(this))) {
  for (const PinSpec& pin : spec_.pins) triesLeft_.push_back(pin.tries);
}

terminal::AnswerToReset ProcessorCard::PowerOn() {
  PowerOff();
  return {spec_.atr, spec_.historicalBytes, false};
}

void ProcessorCard::PowerOff() {
  currentDf_ = 0;
  currentEf_.reset();
  verified_.clear();
  pending_.clear();
  pendingStatus_.clear();
}

Bytes ProcessorCard::Process(const Bytes& bytes) {
  const terminal::ParsedApdu parsed = terminal::ParseCommandApdu(bytes);
  if (!parsed.apdu) return sw::kWrongLength;
  const Apdu& apdu = *parsed.apdu;
  if (apdu.cla != 0x00) return sw::kUnknownClass;
  if (!spec_.getResponse) return Answer(apdu);
  if (apdu.ins == kInsGetResponse) return GetResponse(apdu);
  // T=0 carries no data with the status: the card says how much there is and keeps it.
  pending_.clear();
  Bytes answer = Answer(apdu);
  if (answer.size() <= 2) return answer;
  pendingStatus_.assign(answer.end() - 2, answer.end());
  answer.resize(answer.size() - 2);
  pending_ = std::move(answer);
  return {0x61, static_cast<std::uint8_t>(pending_.size())};
}

Bytes ProcessorCard::GetResponse(const Apdu& apdu) {
  if (apdu.p1 || apdu.p2) return sw::kWrongP1P2;
  if (!apdu.le || !apdu.data.empty()) return sw::kWrongLength;
  if (pending_.empty()) return kConditionsNotSatisfied;
  if (*apdu.le > pending_.size()) return {0x6C, static_cast<std::uint8_t>(pending_.size())};
  Bytes data(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(*apdu.le));
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(*apdu.le));
  if (!pending_.empty())
    return WithStatus(std::move(data), {0x61, static_cast<std::uint8_t>(pending_.size())});
  return WithStatus(std::move(data), pendingStatus_);
}

Bytes ProcessorCard::Answer(const Apdu& apdu) {
  switch (apdu.ins) {
    case kInsSelect:
      return Select(apdu);
    case kInsReadBinary:
      return ReadOrUpdateBinary(apdu, false);
    case kInsUpdateBinary:
      return ReadOrUpdateBinary(apdu, true);
    case kInsReadRecord:
      return ReadRecord(apdu);
    case kInsGetChallenge:
      return GetChallenge(apdu);
    case kInsVerify:
      return Verify(apdu);
    default:
      return sw::kUnknownInstruction;
  }
}

std::optional<std::size_t> ProcessorCard::Child(std::size_t df, std::uint16_t fid, Want want) const {
  for (std::size_t i = 1; i < spec_.files.size(); ++i) {
    const FileSpec& f = spec_.files[i];
    const bool isDf = f.kind == FileSpec::Kind::Df;
    if (f.parent == df && f.fid == fid && (want == Want::Any || (want == Want::Df) == isDf)) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> ProcessorCard::Path(std::size_t from, std::span<const std::uint8_t> fids) const {
  std::optional<std::size_t> at = from;
  for (std::size_t i = 0; at && i + 1 < fids.size(); i += 2) {
    if (spec_.files[*at].kind != FileSpec::Kind::Df) return std::nullopt;
    at = Child(*at, static_cast<std::uint16_t>(fids[i] << 8 | fids[i + 1]), Want::Any);
  }
  return at;
}

std::optional<std::size_t> ProcessorCard::ByShortId(std::uint8_t sfi) const {
  for (std::size_t i = 1; i < spec_.files.size(); ++i)
    if (spec_.files[i].parent == currentDf_ && spec_.files[i].sfi == sfi) return i;
  return std::nullopt;
}

std::optional<std::size_t> ProcessorCard::Find(const Apdu& apdu, bool& wrongP1, bool& wrongLength) const {
  const Bytes& d = apdu.data;
  const auto fid = [&] { return static_cast<std::uint16_t>(d[0] << 8 | d[1]); };
  const std::optional<std::size_t> parent = spec_.files[currentDf_].parent;
  switch (apdu.p1) {
    case 0x00:  // by file identifier, near the current DF; no data: the MF
      if (d.empty()) return 0;
      if (d.size() != 2) break;
      if (fid() == kMf) return 0;
      if (const auto child = Child(currentDf_, fid(), Want::Any)) return child;
      if (spec_.files[currentDf_].fid == fid()) return currentDf_;
      if (parent && spec_.files[*parent].fid == fid()) return parent;
      if (parent) return Child(*parent, fid(), Want::Any);
      return std::nullopt;
    case 0x01:  // a DF in the current DF
      if (d.size() != 2) break;
      return Child(currentDf_, fid(), Want::Df);
    case 0x02:  // an EF in the current DF
      if (d.size() != 2) break;
      return Child(currentDf_, fid(), Want::Ef);
    case 0x03:  // the parent DF
      if (!d.empty()) break;
      return parent;
    case 0x04:  // by DF name, the whole AID
      if (d.empty() || d.size() > kMaxAid) break;
      for (std::size_t i = 0; i < spec_.files.size(); ++i)
        if (spec_.files[i].kind == FileSpec::Kind::Df && spec_.files[i].aid == d) return i;
      return std::nullopt;
    case 0x08:  // by path from the MF, which may be named first
    case 0x09:  // by path from the current DF
      if (d.empty() || d.size() % 2) break;
      if (apdu.p1 == 0x08) {
        const bool mfFirst = d[0] == 0x3F && d[1] == 0x00;
        if (mfFirst && d.size() == 2) return 0;
        return Path(0, std::span(d).subspan(mfFirst ? 2 : 0));
      }
      return Path(currentDf_, d);
    default:
      wrongP1 = true;
      return std::nullopt;
  }
  wrongLength = true;
  return std::nullopt;
}

Bytes ProcessorCard::Select(const Apdu& apdu) {
  if (spec_.selectAnswersTemplate && apdu.p2 != kAnswerFci && apdu.p2 != kAnswerFcp && apdu.p2 != kAnswerNone)
    return sw::kWrongP1P2;
  bool wrongP1 = false, wrongLength = false;
  const std::optional<std::size_t> file = Find(apdu, wrongP1, wrongLength);
  if (wrongP1) return sw::kWrongP1P2;
  if (wrongLength) return sw::kWrongLength;
  if (!file) return sw::kFileNotFound;
  return Selected(*file, apdu.p2);
}

Bytes ProcessorCard::Selected(std::size_t file, std::uint8_t p2) {
  const FileSpec& f = spec_.files[file];
  if (f.kind == FileSpec::Kind::Df) {
    currentDf_ = file;
    currentEf_.reset();
  } else {
    currentDf_ = *f.parent;
    currentEf_ = file;
  }
  if (!spec_.selectAnswersTemplate || p2 == kAnswerNone) return sw::kOk;
  return WithStatus(Template(file, p2 == kAnswerFcp), sw::kOk);
}

Bytes ProcessorCard::Template(std::size_t file, bool fcp) const {
  const FileSpec& f = spec_.files[file];
  // File descriptor byte: a DF, a transparent EF, or a linear EF of records of any length.
  const std::uint8_t descriptor = f.kind == FileSpec::Kind::Df            ? 0x38
                                  : f.kind == FileSpec::Kind::Transparent ? 0x01
                                                                          : 0x04;
  Bytes inner;
  if (f.kind == FileSpec::Kind::Transparent) {
    const auto size = f.contents.size();
    AddTlv(inner, 0x80, {static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)});
  }
  AddTlv(inner, 0x82, {descriptor});
  AddTlv(inner, 0x83, {static_cast<std::uint8_t>(f.fid >> 8), static_cast<std::uint8_t>(f.fid)});
  if (!f.aid.empty()) AddTlv(inner, 0x84, f.aid);
  if (f.sfi) AddTlv(inner, 0x88, {static_cast<std::uint8_t>(*f.sfi << 3)});
  Bytes out;
  AddTlv(out, fcp ? 0x62 : 0x6F, inner);
  return out;
}

bool ProcessorCard::Allowed(const AccessRule& rule) const {
  switch (rule.kind) {
    case AccessRule::Kind::Always:
      return true;
    case AccessRule::Kind::Never:
      return false;
    case AccessRule::Kind::Pin:
      return verified_.count(rule.pin) > 0;
  }
  return false;
}

Bytes ProcessorCard::ReadOrUpdateBinary(const Apdu& apdu, bool update) {
  std::optional<std::size_t> offset = PlainOffset(apdu);
  if (!offset) {
    // P1: 100 and a short EF identifier, which selects the EF; the offset is P2.
    if (apdu.p1 & 0x60) return sw::kWrongP1P2;
    const std::optional<std::size_t> ef = ByShortId(apdu.p1 & 0x1F);
    if (!ef) return sw::kFileNotFound;
    currentEf_ = ef;
    offset = apdu.p2;
  }
  if (!currentEf_) return sw::kNoCurrentEf;
  FileSpec& ef = spec_.files[*currentEf_];
  if (ef.kind != FileSpec::Kind::Transparent) return kCommandIncompatible;
  if (!Allowed(update ? ef.update : ef.read)) return sw::kSecurityNotSatisfied;
  return update ? UpdateBinary(ef.contents, *offset, apdu) : ReadBinary(ef.contents, *offset, apdu);
}

Bytes ProcessorCard::ReadRecord(const Apdu& apdu) {
  if ((apdu.p2 & 0x07) != kRecordNumberInP1) return sw::kWrongP1P2;
  if (const std::uint8_t sfi = apdu.p2 >> 3) {
    const std::optional<std::size_t> ef = ByShortId(sfi);
    if (!ef) return sw::kFileNotFound;
    currentEf_ = ef;
  }
  if (!currentEf_) return sw::kNoCurrentEf;
  const FileSpec& ef = spec_.files[*currentEf_];
  if (ef.kind != FileSpec::Kind::Records) return kCommandIncompatible;
  if (!Allowed(ef.read)) return sw::kSecurityNotSatisfied;
  if (apdu.p1 == 0 || apdu.p1 > ef.records.size()) return kRecordNotFound;
  return ReadBinary(ef.records[apdu.p1 - 1], 0, apdu);
}

Bytes ProcessorCard::GetChallenge(const Apdu& apdu) {
  if (apdu.p1 || apdu.p2) return sw::kWrongP1P2;
  if (!apdu.le || !apdu.data.empty()) return sw::kWrongLength;
  const std::size_t n = *apdu.le == 256 ? kChallengeDefault : *apdu.le;
  if (n > kChallengeMax) return sw::kWrongLength;
  Bytes challenge(n);
  for (auto& b : challenge) b = static_cast<std::uint8_t>(random_());
  return WithStatus(std::move(challenge), sw::kOk);
}

Bytes ProcessorCard::Verify(const Apdu& apdu) {
  if (apdu.p1 != 0x00) return sw::kWrongP1P2;
  const auto pin = std::find_if(spec_.pins.begin(), spec_.pins.end(),
                                [&](const PinSpec& p) { return p.reference == apdu.p2; });
  if (pin == spec_.pins.end()) return sw::kReferenceNotFound;
  int& tries = triesLeft_[static_cast<std::size_t>(pin - spec_.pins.begin())];
  if (tries == 0) return sw::kPinBlocked;
  const auto triesStatus = [&] { return Bytes{0x63, static_cast<std::uint8_t>(0xC0 | tries)}; };
  if (apdu.data.empty()) return verified_.count(pin->reference) ? sw::kOk : triesStatus();
  if (apdu.data == pin->value) {
    tries = pin->tries;
    verified_.insert(pin->reference);
    return sw::kOk;
  }
  --tries;
  verified_.erase(pin->reference);
  return triesStatus();
}

}  // namespace sim
