#include "cli/Json.h"

#include <cmath>
#include <cstdio>

namespace cli {

std::string JsonQuoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        // Request files and paths are single-byte text: a byte above 0x7F is the Latin-1 character
        // of that code point, escaped so the output is ASCII and valid whatever reads it.
        if (const auto byte = static_cast<unsigned char>(c); byte < 0x20 || byte >= 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (firstInLevel_.empty()) return;
  if (!firstInLevel_.back()) text_ += ", ";
  firstInLevel_.back() = false;
}

JsonWriter& JsonWriter::Open(char bracket) {
  BeforeValue();
  text_ += bracket;
  firstInLevel_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  text_ += bracket;
  if (!firstInLevel_.empty()) firstInLevel_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginObject() { return Open('{'); }
JsonWriter& JsonWriter::EndObject() { return Close('}'); }
JsonWriter& JsonWriter::BeginArray() { return Open('['); }
JsonWriter& JsonWriter::EndArray() { return Close(']'); }

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeValue();
  text_ += JsonQuoted(name);
  text_ += ": ";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeValue();
  text_ += JsonQuoted(text);
  return *this;
}

JsonWriter& JsonWriter::Number(std::int64_t value) {
  BeforeValue();
  text_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  BeforeValue();
  // JSON has no infinity or NaN.
  if (!std::isfinite(value)) {
    text_ += "null";
    return *this;
  }
  // 15 significant digits always print back as written; not std::to_chars, whose floating-point
  // tables are most of the program's size on Windows.
  char digits[32];
  const int n = std::snprintf(digits, sizeof digits, "%.15g", value);
  text_.append(digits, static_cast<std::size_t>(n));
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  text_ += "null";
  return *this;
}

}  // namespace cli
