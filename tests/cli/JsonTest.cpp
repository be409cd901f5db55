#include <gtest/gtest.h>

#include "cli/Json.h"

namespace cli {
namespace {

TEST(Json, QuotedEscapesWhatJsonForbids) {
  struct Case {
    std::string_view text, quoted;
  } cases[] = {
      {"plain", "\"plain\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\dir", "\"C:\\\\dir\""},
      {"a\nb\r\tc", "\"a\\nb\\r\\tc\""},
      {std::string_view("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
      {std::string_view("nul\0x", 5), "\"nul\\u0000x\""},
      // Bytes above 0x7F are Latin-1 characters, UTF-8 sequences included: the output stays ASCII.
      {"Pr\xfc" "fung \xa7" "3", "\"Pr\\u00fcfung \\u00a73\""},
      {"\x80\xff", "\"\\u0080\\u00ff\""},
      {"\xc3\xa4", "\"\\u00c3\\u00a4\""},
  };
  for (const Case& c : cases) EXPECT_EQ(JsonQuoted(c.text), c.quoted) << c.text;
}

TEST(Json, WriterPutsCommasAndNests) {
  JsonWriter json;
  json.BeginObject()
      .Key("sw")
      .String("6A82")
      .Key("n")
      .Number(std::int64_t{-3})
      .Key("f")
      .Number(7.5)
      .Key("list")
      .BeginArray()
      .Number(std::int64_t{0})
      .Number(std::int64_t{1})
      .BeginObject()
      .EndObject()
      .EndArray()
      .Key("empty")
      .BeginArray()
      .EndArray()
      .Key("ok")
      .Bool(true)
      .Key("none")
      .Null()
      .EndObject();
  EXPECT_EQ(json.Text(),
            "{\"sw\": \"6A82\", \"n\": -3, \"f\": 7.5, \"list\": [0, 1, {}], \"empty\": [], \"ok\": true, "
            "\"none\": null}\n");
}

TEST(Json, NumbersJsonCannotHoldBecomeNull) {
  JsonWriter json;
  json.BeginArray().Number(1.0 / 0.0).Number(5.0).EndArray();
  EXPECT_EQ(json.Text(), "[null, 5]\n");
}

}  // namespace
}  // namespace cli
