#include <gtest/gtest.h>

#include "decode/Hex.h"
#include "decode/Tlv.h"

namespace decode {
namespace {

using Bytes = std::vector<std::uint8_t>;

TlvTree Decode(std::string_view hex, TlvSource source = TlvSource::Card) {
  return DecodeTlv(ParseHex(hex).bytes, source);
}

// The tree in a line: tag(length)[value] or tag(length){children}.
std::string Shape(const TlvTree& tree, const std::vector<TlvObject>& objects) {
  std::string text;
  for (const TlvObject& o : objects) {
    if (!text.empty()) text += ' ';
    text += HexBytes(o.Tag(), "") + "(" + std::to_string(o.length) + ")";
    if (o.Primitive()) {
      text += "[" + HexBytes(tree.Value(o), "") + "]";
    } else {
      text += "{" + Shape(tree, o.children) + "}";
    }
  }
  return text;
}

TEST(Tlv, TreesOfATable) {
  struct Case {
    std::string_view what, hex, shape;
    std::vector<std::string> problems;
  } cases[] = {
      {"FCI of a SELECT",
       "6F 10 84 07 A0 00 00 00 04 10 10 A5 05 50 03 41 42 43",
       "6F(16){84(7)[A0000000041010] A5(5){50(3)[414243]}}",
       {}},
      {"multi-byte tags",
       "5F 2D 02 65 6E 9F 81 02 01 07 7F 49 03 86 01 04",
       "5F2D(2)[656E] 9F8102(1)[07] 7F49(3){86(1)[04]}",
       {}},
      {"empty objects", "62 00 80 00", "62(0){} 80(0)[]", {}},
      {"padding before, between and after",
       "00 FF 50 01 41 00 00 FF 50 01 42 FF 00",
       "50(1)[41] 50(1)[42]",
       {}},
      {"padding inside a constructed object", "A5 06 00 50 01 41 FF 00", "A5(6){50(1)[41]}", {}},
      {"nothing but padding", "00 00 FF", "", {}},
      {"value cut short",
       "62 06 82 01 38 83 02 3F",
       "62(6){82(1)[38] 83(2)[3F]}",
       {"Object 83 at offset 5 announces 2 bytes, 1 follow"}},
      {"constructed longer than the bytes",
       "62 10 82 01 38",
       "62(16){82(1)[38]}",
       {"Object 62 at offset 0 announces 16 bytes, 3 follow"}},
      {"child longer than its parent, siblings after it read",
       "A5 03 50 05 41 50 01 43",
       "A5(3){50(5)[41]} 50(1)[43]",
       {"Object 50 at offset 2 announces 5 bytes, 1 follow"}},
      {"tag cut short", "50 01 41 5F", "50(1)[41]", {"Object 5F at offset 3 cut short in its tag"}},
      {"length missing", "50", "", {"Object 50 at offset 0 cut short before its length"}},
      {"length cut short", "5A 82 01", "", {"Object 5A at offset 0 cut short in its length"}},
      {"indefinite length",
       "62 80 00 00",
       "",
       {"Object 62 at offset 0 has an indefinite length, which BER-TLV here forbids"}},
      {"length of five bytes",
       "50 85 00 00 00 00 01 41",
       "",
       {"Object 50 at offset 0 has a length of more than 4 bytes"}},
      {"tag of five bytes",
       "5F 81 82 83 04 01 00",
       "",
       {"Object 5F818283 at offset 0 has a tag of more than 4 bytes"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TlvTree tree = Decode(c.hex);
    EXPECT_EQ(Shape(tree, tree.objects), c.shape);
    EXPECT_EQ(tree.problems, c.problems);
  }
}

TEST(Tlv, LongLengths) {
  struct Case {
    std::string_view header;
    std::size_t length, headerLength;
  } cases[] = {
      {"53 7F", 127, 2},       {"53 81 80", 128, 3},         {"53 81 FF", 255, 3},
      {"53 82 01 00", 256, 4}, {"53 83 01 00 00", 65536, 5}, {"53 84 00 01 00 00", 65536, 6},
  };
  for (const Case& c : cases) {
    Bytes bytes = ParseHex(c.header).bytes;
    bytes.resize(bytes.size() + c.length, 0x41);
    const TlvTree tree = DecodeTlv(bytes);
    ASSERT_EQ(tree.objects.size(), 1u) << c.header;
    EXPECT_EQ(tree.objects[0].length, c.length) << c.header;
    EXPECT_EQ(tree.objects[0].headerLength, c.headerLength) << c.header;
    EXPECT_EQ(tree.Value(tree.objects[0]).size(), c.length) << c.header;
    EXPECT_TRUE(tree.problems.empty()) << c.header;
  }
}

TEST(Tlv, ClassFormAndOffsets) {
  const TlvTree tree = Decode("00 7F 49 03 86 01 04 DF 01 00 41 00");
  ASSERT_EQ(tree.objects.size(), 3u);
  const TlvObject& key = tree.objects[0];
  EXPECT_EQ(key.tagClass, TagClass::Application);
  EXPECT_TRUE(key.constructed);
  EXPECT_EQ(key.offset, 1u);
  EXPECT_EQ(key.headerLength, 3u);
  EXPECT_EQ(key.children[0].offset, 4u);
  EXPECT_EQ(key.children[0].tagClass, TagClass::ContextSpecific);
  EXPECT_EQ(tree.objects[1].tagClass, TagClass::Private);
  EXPECT_EQ(TlvDescription(tree.objects[1]), "Private, primitive");
  EXPECT_EQ(tree.objects[2].tagClass, TagClass::Application);
}

TEST(Tlv, NamesDependOnWhereAndWhoFrom) {
  struct Case {
    std::string_view hex;
    TlvSource source;
    std::vector<std::string_view> names;  // depth first
  } cases[] = {
      {"62 06 80 01 10 82 01 01",
       TlvSource::Card,
       {"File control parameters (FCP)", "Number of data bytes in the file, excluding structural information",
        "File descriptor"}},
      {"64 03 8A 01 05", TlvSource::Card, {"File management data (FMD)", "Life cycle status"}},
      {"6F 07 84 02 A0 00 A5 01 00",
       TlvSource::Card,
       {"File control information (FCI)", "DF name", "Proprietary information, constructed"}},
      {"61 04 4F 02 A0 00", TlvSource::Card, {"Application template", "Application identifier (AID)"}},
      {"80 01 05", TlvSource::Terminal, {"ICC status"}},
      {"81 01 01", TlvSource::Terminal, {"Functional units"}},
      {"46 01 41", TlvSource::Terminal, {"CT manufacturer data"}},
      {"46 01 41", TlvSource::Card, {"Pre-issuing data"}},
      {"80 01 05", TlvSource::Card, {""}},  // context-specific with no context
      {"62 03 80 01 05",
       TlvSource::Terminal,
       {"File control parameters (FCP)",
        "Number of data bytes in the file, "
        "excluding structural information"}},
  };
  for (const Case& c : cases) {
    const TlvTree tree = Decode(c.hex, c.source);
    std::vector<std::string_view> names;
    const auto collect = [&names](const auto& self, const std::vector<TlvObject>& objects) -> void {
      for (const TlvObject& o : objects) {
        names.push_back(o.name);
        self(self, o.children);
      }
    };
    collect(collect, tree.objects);
    EXPECT_EQ(names, c.names) << c.hex;
  }
}

TEST(Tlv, DeepNestingStopsTakingApart) {
  Bytes bytes;
  constexpr int kLevels = 40;
  for (int level = 0; level < kLevels; ++level) {
    bytes.push_back(0x61);
    bytes.push_back(static_cast<std::uint8_t>(2 * (kLevels - level - 1) + 3));
  }
  bytes.insert(bytes.end(), {0x50, 0x01, 0x41});
  const TlvTree tree = DecodeTlv(bytes);
  const TlvObject* object = &tree.objects.at(0);
  int depth = 1;
  while (!object->children.empty()) {
    object = &object->children[0];
    ++depth;
  }
  EXPECT_EQ(depth, kMaxTlvDepth);
  EXPECT_TRUE(object->tooDeep);
  EXPECT_EQ(tree.Value(*object).size(), object->length);  // kept as bytes
  ASSERT_EQ(tree.problems.size(), 1u);
  EXPECT_EQ(tree.problems[0], "Object 61 at offset 62 is nested deeper than 32 levels: not taken apart");
}

TEST(Tlv, LinesForAPerson) {
  EXPECT_EQ(TlvLines(Decode("6F 0D 84 02 A0 00 A5 07 50 05 48 45 4C 4C 4F 9F 81 02 02 01")),
            (std::vector<std::string>{
                "6F      13  File control information (FCI)",
                "  84    2   DF name: A0 00",
                "  A5    7   Proprietary information, constructed",
                "    50  5   Application label: 48 45 4C 4C 4F \"HELLO\"",
                "9F8102  2   Context-specific, primitive: 01 [cut short: 1 byte there]",
                "Problem: Object 9F8102 at offset 15 announces 2 bytes, 1 follow",
            }));
  EXPECT_TRUE(TlvLines(Decode("")).empty());
}

}  // namespace
}  // namespace decode
