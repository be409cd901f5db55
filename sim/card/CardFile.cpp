#include "sim/card/CardFile.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>

#include "common/IniFile.h"
#include "decode/Hex.h"
#include "sim/card/AtrCheck.h"

namespace sim {

namespace {

constexpr std::size_t kMaxAid = 16;
constexpr std::size_t kMaxRecords = 254;
constexpr std::size_t kMaxRecordLength = 255;
constexpr int kMaxTries = 15;
constexpr std::uint16_t kMf = 0x3F00;
constexpr std::uint8_t kErased = 0xFF;  // what an unwritten memory cell reads

struct Section {
  std::string kind;      // lower case: "card", "df", "ef", "pin", "application"
  std::string argument;  // what follows the kind, as written
  std::string title;     // the header as written, for messages
  std::size_t line = 0;
  std::vector<ini::IniLine> entries;
};

// Hex as decode reads it; an empty value is no bytes, which the caller may refuse.
std::optional<Bytes> Hex(std::string_view text) {
  decode::ParsedHex parsed = decode::ParseHex(text);
  if (parsed.error != decode::HexError::None && parsed.error != decode::HexError::Empty) return std::nullopt;
  return std::move(parsed.bytes);
}

// Decimal, or hex after 0x.
std::optional<std::size_t> Number(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  std::size_t n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

std::optional<std::uint16_t> Fid(std::string_view text) {
  const std::optional<Bytes> bytes = Hex(text);
  if (text.size() != 4 || !bytes || bytes->size() != 2) return std::nullopt;
  return static_cast<std::uint16_t>((*bytes)[0] << 8 | (*bytes)[1]);
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// Builds a card from the sections; the first fault found ends the reading.
class Reader {
 public:
  explicit Reader(const ContentsReader& readContents) : readContents_(readContents) {}

  ParsedCardFile Read(std::string_view text) {
    if (text.size() > kMaxCardFileSize) return Failed(0, "larger than 1 MB");
    if (!Split(text)) return Failed();
    const Section* card = nullptr;
    for (const Section& s : sections_)
      if (s.kind == "card") card = &s;
    if (!card) return Failed(0, "no [Card] section");
    if (!ReadCard(*card)) return Failed();
    return {std::move(spec_), {}};
  }

 private:
  ParsedCardFile Failed() { return {std::nullopt, fault_}; }
  ParsedCardFile Failed(std::size_t line, std::string message) {
    Fail(line, std::move(message));
    return Failed();
  }
  bool Fail(std::size_t line, std::string message) {
    fault_ = {line, std::move(message)};
    return false;
  }

  bool Split(std::string_view text) {
    for (const ini::IniLine& line : ini::ReadIniLines(text)) {
      switch (line.kind) {
        case ini::IniLine::Kind::Malformed:
          return Fail(line.number, "neither [section], key=value nor a comment");
        case ini::IniLine::Kind::Entry:
          if (sections_.empty()) return Fail(line.number, "key " + Quoted(line.name) + " before any section");
          sections_.back().entries.push_back(line);
          break;
        case ini::IniLine::Kind::Section: {
          Section s;
          const std::size_t blank = line.name.find_first_of(" \t");
          s.kind = ini::Lower(line.name.substr(0, blank));
          if (blank != std::string_view::npos) {
            s.argument = std::string(line.name.substr(line.name.find_first_not_of(" \t", blank)));
          }
          s.title = "[" + std::string(line.name) + "]";
          s.line = line.number;
          if (s.kind == "card" && std::any_of(sections_.begin(), sections_.end(),
                                              [](const Section& o) { return o.kind == "card"; }))
            return Fail(line.number, "a second [Card] section");
          sections_.push_back(std::move(s));
          break;
        }
      }
    }
    return true;
  }

  // The keys of one section, each taken at most once; what is left over is unknown.
  class Keys {
   public:
    Keys(Reader& reader, const Section& section) : reader_(reader), section_(section) {}
    const ini::IniLine* Take(std::string_view key) {
      const ini::IniLine* found = nullptr;
      for (const ini::IniLine& line : section_.entries) {
        if (ini::Lower(line.name) != ini::Lower(key)) continue;
        if (found) {
          duplicate_ = &line;
          return found;
        }
        found = &line;
      }
      if (found) taken_.insert(found);
      return found;
    }
    // Fails on a key given twice or one nobody took.
    bool Done() {
      if (duplicate_)
        return reader_.Fail(duplicate_->number, "key " + Quoted(duplicate_->name) + " a second time");
      for (const ini::IniLine& line : section_.entries)
        if (!taken_.count(&line))
          return reader_.Fail(line.number, "unknown key " + Quoted(line.name) + " in " + section_.title);
      return true;
    }
    bool Missing(std::string_view key) {
      return reader_.Fail(section_.line, section_.title + " has no " + std::string(key) + "=");
    }

   private:
    Reader& reader_;
    const Section& section_;
    std::set<const ini::IniLine*> taken_;
    const ini::IniLine* duplicate_ = nullptr;
  };

  bool Bad(const ini::IniLine& line, std::string_view what) {
    return Fail(line.number,
                std::string(line.name) + "=" + std::string(line.value) + ": " + std::string(what));
  }

  bool HexValue(const ini::IniLine& line, Bytes& out) {
    const std::optional<Bytes> bytes = Hex(line.value);
    if (!bytes) return Bad(line, "not pairs of hex digits");
    out = *bytes;
    return true;
  }

  bool NumberValue(const ini::IniLine& line, std::size_t low, std::size_t high, std::size_t& out) {
    const std::optional<std::size_t> n = Number(line.value);
    if (!n || *n < low || *n > high)
      return Bad(line, "not a number from " + std::to_string(low) + " to " + std::to_string(high));
    out = *n;
    return true;
  }

  // Bytes given by a key, with its line; no line when the key is not there.
  struct Given {
    Bytes bytes;
    const ini::IniLine* line = nullptr;
  };

  // Data= in hex or Text= as it stands.
  bool Contents(Keys& keys, Given& out) {
    const ini::IniLine* data = keys.Take("Data");
    const ini::IniLine* text = keys.Take("Text");
    if (data && text) return Fail(text->number, "both Data= and Text=");
    if (data) {
      out.line = data;
      return HexValue(*data, out.bytes);
    }
    if (text) {
      out.line = text;
      out.bytes.assign(text->value.begin(), text->value.end());
    }
    return true;
  }

  bool ReadCard(const Section& section) {
    Keys keys(*this, section);
    const ini::IniLine* kind = keys.Take("Kind");
    if (!kind) return keys.Missing("Kind");
    const std::string k = ini::Lower(kind->value);
    if (const ini::IniLine* name = keys.Take("Name")) spec_.name = std::string(name->value);
    const ini::IniLine* atr = keys.Take("ATR");
    if (!atr) return keys.Missing("ATR");
    Bytes atrBytes;
    if (!HexValue(*atr, atrBytes)) return false;
    if (k == "processor") return ReadProcessorCard(keys, *atr, std::move(atrBytes));
    if (k == "memory") return ReadMemoryCard(keys, *atr, std::move(atrBytes));
    return Bad(*kind, "neither processor nor memory");
  }

  bool ReadProcessorCard(Keys& keys, const ini::IniLine& atrLine, Bytes atr) {
    ProcessorSpec spec;
    const CheckedAtr checked = CheckAtr(atr);
    if (!checked.facts) return Fail(atrLine.number, "ATR: " + checked.problem);
    spec.atr = std::move(atr);
    spec.historicalBytes = checked.facts->historicalBytes;
    bool t0 = checked.facts->firstProtocol == 0;
    if (const ini::IniLine* protocol = keys.Take("Protocol")) {
      std::string p = ini::Lower(protocol->value);
      p.erase(std::remove(p.begin(), p.end(), ' '), p.end());
      if (p == "t=0" || p == "t0") {
        t0 = true;
      } else if (p == "t=1" || p == "t1") {
        t0 = false;
      } else {
        return Bad(*protocol, "neither T=0 nor T=1");
      }
      if ((t0 && !checked.facts->offersT0) || (!t0 && !checked.facts->offersT1))
        return Bad(*protocol, "the ATR does not offer it");
    }
    spec.getResponse = t0;
    if (!keys.Done()) return false;

    FileSpec mf;
    mf.fid = kMf;
    spec.files.push_back(mf);
    std::map<std::string, std::size_t> byPath{{"3F00", 0}};
    bool mfGiven = false;
    for (const Section& s : sections_) {
      if (s.kind == "card") continue;
      if (s.kind == "df" || s.kind == "ef") {
        if (!ReadFile(s, spec, byPath, mfGiven)) return false;
      } else if (s.kind == "pin") {
        if (!ReadPin(s, spec)) return false;
      } else if (s.kind == "application") {
        return Fail(s.line, "[Application] belongs to a memory card; a processor card has [DF ...]");
      } else {
        return Fail(s.line, "unknown section " + s.title);
      }
    }
    if (!CheckReferences(spec)) return false;
    spec_.card = std::move(spec);
    return true;
  }

  bool ReadFile(const Section& s, ProcessorSpec& spec, std::map<std::string, std::size_t>& byPath,
                bool& mfGiven) {
    // The path from the MF, each file identifier four hex digits: 3F00/DF01/0101.
    std::string path;
    std::vector<std::uint16_t> fids;
    std::string_view rest = s.argument;
    while (!rest.empty()) {
      const std::size_t slash = rest.find('/');
      const std::string_view part = rest.substr(0, slash);
      const std::optional<std::uint16_t> fid = Fid(part);
      if (!fid)
        return Fail(s.line, s.title + ": " + Quoted(part) + " is not a file identifier of 4 hex digits");
      fids.push_back(*fid);
      rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    }
    if (fids.empty() || fids[0] != kMf) return Fail(s.line, s.title + ": the path must begin with 3F00");
    for (std::size_t i = 0; i < fids.size(); ++i) {
      if (i && (fids[i] == kMf || fids[i] == 0xFFFF || fids[i] == 0x3FFF))
        return Fail(s.line, s.title + ": 3F00, 3FFF and FFFF are reserved file identifiers");
      path += (i ? "/" : "") + decode::HexByte(fids[i] >> 8) + decode::HexByte(fids[i] & 0xFF);
    }
    const bool df = s.kind == "df";
    Keys keys(*this, s);
    if (fids.size() == 1) {
      if (!df) return Fail(s.line, "3F00 is the MF, a DF: [DF 3F00]");
      if (mfGiven) return Fail(s.line, "a second " + s.title);
      mfGiven = true;
      return ReadAid(keys, spec, spec.files[0]) && keys.Done();
    }
    if (byPath.count(path)) return Fail(s.line, "a second " + s.title);
    const std::string parentPath = path.substr(0, path.rfind('/'));
    const auto parent = byPath.find(parentPath);
    if (parent == byPath.end() || spec.files[parent->second].kind != FileSpec::Kind::Df)
      return Fail(s.line, s.title + ": no [DF " + parentPath + "] above it");
    if (spec.files.size() >= kMaxCardFiles) return Fail(s.line, "more than 1000 files");

    FileSpec file;
    file.fid = fids.back();
    file.parent = parent->second;
    if (df) {
      if (!ReadAid(keys, spec, file)) return false;
    } else if (!ReadEf(keys, spec, file)) {
      return false;
    }
    if (!keys.Done()) return false;
    byPath[path] = spec.files.size();
    spec.files.push_back(std::move(file));
    return true;
  }

  bool ReadAid(Keys& keys, const ProcessorSpec& spec, FileSpec& df) {
    const ini::IniLine* aid = keys.Take("AID");
    if (!aid) return true;
    Bytes name;
    if (!HexValue(*aid, name)) return false;
    if (name.empty() || name.size() > kMaxAid) return Bad(*aid, "an AID has 1 to 16 bytes");
    for (const FileSpec& other : spec.files)
      if (other.aid == name) return Bad(*aid, "another DF has this AID");
    df.aid = std::move(name);
    return true;
  }

  bool ReadAccess(Keys& keys, std::string_view key, AccessRule& rule) {
    const ini::IniLine* line = keys.Take(key);
    if (!line) return true;
    std::string v = ini::Lower(line->value);
    v.erase(std::remove(v.begin(), v.end(), ' '), v.end());
    if (v == "always") {
      rule = {AccessRule::Kind::Always};
    } else if (v == "never") {
      rule = {AccessRule::Kind::Never};
    } else if (const std::optional<Bytes> pin = v.starts_with("pin") ? Hex(v.substr(3)) : std::nullopt;
               pin && pin->size() == 1) {
      rule = {AccessRule::Kind::Pin, (*pin)[0]};
      pinUses_.emplace_back(line->number, (*pin)[0]);
    } else {
      return Bad(*line, "not always, never or PIN and its reference (PIN 01)");
    }
    return true;
  }

  bool ReadEf(Keys& keys, const ProcessorSpec& spec, FileSpec& ef) {
    if (!ReadAccess(keys, "Read", ef.read) || !ReadAccess(keys, "Update", ef.update)) return false;
    if (const ini::IniLine* sfi = keys.Take("SFI")) {
      std::size_t n = 0;
      if (!NumberValue(*sfi, 1, 30, n)) return false;
      ef.sfi = static_cast<std::uint8_t>(n);
      for (const FileSpec& other : spec.files)
        if (other.parent == ef.parent && other.sfi == ef.sfi)
          return Bad(*sfi, "another EF of this DF has it");
    }
    Given contents;
    if (!Contents(keys, contents)) return false;
    const ini::IniLine* size = keys.Take("Size");
    for (std::size_t n = 1;; ++n) {
      const ini::IniLine* record = keys.Take("Record" + std::to_string(n));
      if (!record) break;
      if (n > kMaxRecords) return Fail(record->number, "more than 254 records");
      Bytes bytes;
      if (!HexValue(*record, bytes)) return false;
      if (bytes.empty() || bytes.size() > kMaxRecordLength)
        return Bad(*record, "a record has 1 to 255 bytes");
      ef.records.push_back(std::move(bytes));
    }
    if (!ef.records.empty()) {
      if (contents.line || size)
        return Fail((contents.line ? contents.line : size)->number,
                    "an EF has either records or Data=, Text= and Size=");
      ef.kind = FileSpec::Kind::Records;
      return true;
    }
    ef.kind = FileSpec::Kind::Transparent;
    return Sized(contents, size, 0, 0x00, ef.contents);
  }

  // The contents, filled up to Size= when it is given.
  bool Sized(Given& contents, const ini::IniLine* size, std::size_t least, std::uint8_t fill, Bytes& out) {
    if (contents.bytes.size() > kMaxFileSize) return Bad(*contents.line, "more than 32768 bytes");
    std::size_t n = contents.bytes.size();
    if (size && !NumberValue(*size, least, kMaxFileSize, n)) return false;
    if (n < contents.bytes.size())
      return Bad(*size,
                 "smaller than the " + std::to_string(contents.bytes.size()) + " bytes of its contents");
    out = std::move(contents.bytes);
    out.resize(n, fill);
    return true;
  }

  bool ReadPin(const Section& s, ProcessorSpec& spec) {
    const std::optional<Bytes> reference = Hex(s.argument);
    if (!reference || reference->size() != 1)
      return Fail(s.line, s.title + ": a PIN's reference is one byte in hex, as in [PIN 01]");
    PinSpec pin;
    pin.reference = (*reference)[0];
    for (const PinSpec& other : spec.pins)
      if (other.reference == pin.reference) return Fail(s.line, "a second " + s.title);
    Keys keys(*this, s);
    Given value;
    if (!Contents(keys, value)) return false;
    if (value.bytes.empty()) return Fail(s.line, s.title + " has no Text= or Data= with its value");
    pin.value = std::move(value.bytes);
    if (const ini::IniLine* tries = keys.Take("Tries")) {
      std::size_t n = 0;
      if (!NumberValue(*tries, 1, kMaxTries, n)) return false;
      pin.tries = static_cast<int>(n);
    }
    if (!keys.Done()) return false;
    spec.pins.push_back(std::move(pin));
    return true;
  }

  bool CheckReferences(const ProcessorSpec& spec) {
    for (const auto& [line, reference] : pinUses_) {
      const std::uint8_t wanted = reference;
      const bool known = std::any_of(spec.pins.begin(), spec.pins.end(),
                                     [wanted](const PinSpec& p) { return p.reference == wanted; });
      if (!known) return Fail(line, "no [PIN " + decode::HexByte(wanted) + "] section");
    }
    return true;
  }

  bool ReadMemoryCard(Keys& keys, const ini::IniLine& atrLine, Bytes atr) {
    MemorySpec spec;
    if (atr.empty() || atr.size() > 33) return Bad(atrLine, "an ATR has 1 to 33 bytes");
    spec.atr = std::move(atr);
    Given contents;
    if (!Contents(keys, contents)) return false;
    if (const ini::IniLine* file = keys.Take("DataFile")) {
      if (contents.line) return Fail(file->number, "both DataFile= and Data= or Text=");
      const std::optional<std::string> bytes =
          readContents_ ? readContents_(std::string(file->value)) : std::nullopt;
      if (!bytes) return Bad(*file, "cannot be read");
      contents = {Bytes(bytes->begin(), bytes->end()), file};
    }
    const ini::IniLine* size = keys.Take("Size");
    if (!size && !contents.line) return keys.Missing("Size");
    if (!Sized(contents, size, 1, kErased, spec.contents)) return false;
    if (spec.contents.empty()) return Bad(*contents.line, "a memory card has at least one byte");
    if (!keys.Done()) return false;

    for (const Section& s : sections_) {
      if (s.kind == "card") continue;
      if (s.kind == "application") {
        if (!ReadArea(s, spec)) return false;
      } else if (s.kind == "df" || s.kind == "ef" || s.kind == "pin") {
        return Fail(s.line, s.title + " belongs to a processor card; a memory card has [Application]");
      } else {
        return Fail(s.line, "unknown section " + s.title);
      }
    }
    spec_.card = std::move(spec);
    return true;
  }

  bool ReadArea(const Section& s, MemorySpec& spec) {
    Keys keys(*this, s);
    AreaSpec area;
    const ini::IniLine* aid = keys.Take("AID");
    const ini::IniLine* offset = keys.Take("Offset");
    const ini::IniLine* length = keys.Take("Length");
    if (!aid) return keys.Missing("AID");
    if (!offset) return keys.Missing("Offset");
    if (!length) return keys.Missing("Length");
    if (!HexValue(*aid, area.aid)) return false;
    if (area.aid.empty() || area.aid.size() > kMaxAid) return Bad(*aid, "an AID has 1 to 16 bytes");
    for (const AreaSpec& other : spec.areas)
      if (other.aid == area.aid) return Bad(*aid, "another application has this AID");
    const std::size_t size = spec.contents.size();
    if (!NumberValue(*offset, 0, size - 1, area.offset)) return false;
    if (!NumberValue(*length, 1, size - area.offset, area.length)) return false;
    if (!keys.Done()) return false;
    spec.areas.push_back(std::move(area));
    return true;
  }

  const ContentsReader& readContents_;
  std::vector<Section> sections_;
  std::vector<std::pair<std::size_t, std::uint8_t>> pinUses_;  // line and reference
  CardSpec spec_;
  CardFileError fault_;
};

}  // namespace

ParsedCardFile ParseCardFile(std::string_view text, const ContentsReader& readContents) {
  return Reader(readContents).Read(text);
}

}  // namespace sim
