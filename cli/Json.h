#pragma once
// One JSON document built up in order, for --json output: the writer puts the commas and colons,
// and escapes every string, so the output is valid whatever the texts hold.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // In an object, each value follows its key.
  JsonWriter& Key(std::string_view name);
  JsonWriter& String(std::string_view text);
  JsonWriter& Number(std::int64_t value);
  JsonWriter& Number(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // The document, with a line end once the outermost value is closed.
  std::string Text() const { return text_ + "\n"; }

 private:
  void BeforeValue();
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);

  std::string text_;
  std::vector<bool> firstInLevel_;
  bool afterKey_ = false;
};

// A quoted JSON string: quotes, backslashes and control characters escaped, and bytes above 0x7F
// as the Latin-1 characters they are in request files (\u00e4 for E4).
std::string JsonQuoted(std::string_view text);

}  // namespace cli
