// Card files: the example cards as they are read, the defaults a short file gets, and every kind
// of fault with the line it is on and what a technician reads about it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "sim/card/AtrCheck.h"
#include "sim/card/CardFile.h"

namespace {

using sim::Bytes;

std::string ExampleText(const std::string& name) {
  std::ifstream in(std::string(KELVANOR_EXAMPLES_DIR) + "/cards/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

sim::ParsedCardFile Parse(const std::string& text) {
  return sim::ParseCardFile(text, [](const std::string& name) -> std::optional<std::string> {
    if (name == "contents.bin") return std::string("\x01\x02\x03", 3);
    return std::nullopt;
  });
}

TEST(CardFile, ReadsTheExampleCards) {
  const auto two = sim::ParseCardFile(ExampleText("two-applications.card"), {});
  ASSERT_TRUE(two.card) << two.error.line << ": " << two.error.message;
  EXPECT_EQ(two.card->name, "Two applications");
  const auto& processor = std::get<sim::ProcessorSpec>(two.card->card);
  EXPECT_FALSE(processor.getResponse) << "T=1";
  EXPECT_EQ(processor.historicalBytes, (Bytes{0x80, 0x4B, 0x4C, 0x56, 0x41, 0x50, 0x50, 0x32}));
  ASSERT_EQ(processor.files.size(), 7u);
  EXPECT_EQ(processor.files[2].aid, (Bytes{0xF0, 0x4B, 0x4C, 0x56, 0x01}));
  EXPECT_EQ(processor.files[3].contents.size(), 32u) << "Size= fills up the text";
  EXPECT_EQ(processor.files[4].records.size(), 3u);
  EXPECT_EQ(processor.files[6].read, (sim::AccessRule{sim::AccessRule::Kind::Pin, 0x01}));
  ASSERT_EQ(processor.pins.size(), 1u);
  EXPECT_EQ(processor.pins[0].value, (Bytes{'1', '2', '3', '4'}));

  const auto t0 = sim::ParseCardFile(ExampleText("t0-get-response.card"), {});
  ASSERT_TRUE(t0.card) << t0.error.line << ": " << t0.error.message;
  EXPECT_TRUE(std::get<sim::ProcessorSpec>(t0.card->card).getResponse);

  const std::string bin = ExampleText("health-insurance.bin");
  const auto memory = sim::ParseCardFile(ExampleText("health-insurance.card"), [&](const std::string& name) {
    return name == "health-insurance.bin" ? std::optional<std::string>(bin) : std::nullopt;
  });
  ASSERT_TRUE(memory.card) << memory.error.line << ": " << memory.error.message;
  const auto& m = std::get<sim::MemorySpec>(memory.card->card);
  EXPECT_EQ(m.contents, Bytes(bin.begin(), bin.end()));
  ASSERT_EQ(m.areas.size(), 2u);
  EXPECT_EQ(m.areas[0].offset, 0x20u);
  EXPECT_EQ(m.areas[0].length, 0x60u);
}

TEST(CardFile, ShortFilesGetTheDefaults) {
  // The first protocol the ATR offers; names and hex regardless of case; Size fills with 00.
  const auto p = Parse("[card]\nkind=Processor\natr=3b 80 81 1f c3 dd\n[ef 3f00/2f01]\nsize=4\ndata=aB\n");
  ASSERT_TRUE(p.card) << p.error.line << ": " << p.error.message;
  const auto& spec = std::get<sim::ProcessorSpec>(p.card->card);
  EXPECT_FALSE(spec.getResponse) << "TD1 offers T=1 first";
  EXPECT_TRUE(spec.selectAnswersTemplate);
  EXPECT_EQ(spec.files[1].contents, (Bytes{0xAB, 0x00, 0x00, 0x00}));
  EXPECT_EQ(spec.files[1].read.kind, sim::AccessRule::Kind::Always);
  EXPECT_EQ(spec.files[1].update.kind, sim::AccessRule::Kind::Always);
  EXPECT_EQ(p.card->name, "") << "the file's name stands in";

  // A memory card's unwritten cells read FF; a contents file beside it gives its bytes.
  const auto m = Parse("[Card]\nKind=memory\nATR=A2131091\nSize=5\nDataFile=contents.bin\n");
  ASSERT_TRUE(m.card) << m.error.line << ": " << m.error.message;
  EXPECT_EQ(std::get<sim::MemorySpec>(m.card->card).contents, (Bytes{1, 2, 3, 0xFF, 0xFF}));
}

TEST(CardFile, SaysWhichLineIsWrongAndWhy) {
  const std::string processor = "[Card]\nKind=processor\nATR=3B 00\n";           // lines 1 to 3
  const std::string memory = "[Card]\nKind=memory\nATR=A2 13 10 91\nSize=16\n";  // lines 1 to 4
  const struct {
    std::string text;
    std::size_t line;
    std::string message;
  } cases[] = {
      {"", 0, "no [Card] section"},
      {"; only a comment\n", 0, "no [Card] section"},
      {"Kind=processor\n", 1, "key \"Kind\" before any section"},
      {"[Card]\nKind=processor\nATR 3B 00\n", 3, "neither [section], key=value nor a comment"},
      {"[Card\n", 1, "neither [section], key=value nor a comment"},
      {"[Card]\nATR=3B00\n", 1, "[Card] has no Kind="},
      {"[Card]\nKind=chip\nATR=3B00\n", 2, "Kind=chip: neither processor nor memory"},
      {"[Card]\nKind=processor\n", 1, "[Card] has no ATR="},
      {"[Card]\nKind=processor\nATR=3B 0\n", 3, "ATR=3B 0: not pairs of hex digits"},
      {"[Card]\nKind=processor\nATR=3G00\n", 3, "ATR=3G00: not pairs of hex digits"},
      {"[Card]\nKind=processor\nATR=3C00\n", 3,
       "ATR: TS 3C is neither 3B (direct) nor 3F (inverse convention)"},
      {"[Card]\nKind=processor\nATR=3B02 80\n", 3, "ATR: Cut short: 2 historical bytes announced, 1 present"},
      {"[Card]\nKind=processor\nATR=3B 90 11\n", 3, "ATR: Cut short: TD1 missing after 3 bytes"},
      {"[Card]\nKind=processor\nATR=3B 88 01 80 4B 4C 56 41 50 50 32 2C\n", 3,
       "ATR: TCK 2C is wrong: 2B expected"},
      {"[Card]\nKind=processor\nATR=3B 81 01 80\n", 3, "ATR: Cut short: TCK missing after 4 bytes"},
      {"[Card]\nKind=processor\nATR=3B 00 00\n", 3, "ATR: TCK present although only T=0 is offered"},
      {processor + "Protocol=T=1\n", 4, "Protocol=T=1: the ATR does not offer it"},
      {processor + "Protocol=T=2\n", 4, "Protocol=T=2: neither T=0 nor T=1"},
      {processor + "Sise=3\n", 4, "unknown key \"Sise\" in [Card]"},
      {processor + "Kind=memory\n", 4, "key \"Kind\" a second time"},
      {processor + "[Card]\n", 4, "a second [Card] section"},
      {processor + "[Key 01]\n", 4, "unknown section [Key 01]"},
      {processor + "[EF 3F00/2F01]\nSise=32\n", 5, "unknown key \"Sise\" in [EF 3F00/2F01]"},
      {processor + "[EF 3F00/DF01/0101]\n", 4, "[EF 3F00/DF01/0101]: no [DF 3F00/DF01] above it"},
      {processor + "[EF 3F00/2F01]\n[EF 3F00/2F01/0101]\n", 5,
       "[EF 3F00/2F01/0101]: no [DF 3F00/2F01] above it"},
      {processor + "[EF 3F00/2F0]\n", 4, "[EF 3F00/2F0]: \"2F0\" is not a file identifier of 4 hex digits"},
      {processor + "[EF 3F00/2F::]\n", 4,
       "[EF 3F00/2F::]: \"2F::\" is not a file identifier of 4 hex digits"},
      {processor + "[DF 5000]\n", 4, "[DF 5000]: the path must begin with 3F00"},
      {processor + "[EF 3F00/3F00]\n", 4,
       "[EF 3F00/3F00]: 3F00, 3FFF and FFFF are reserved file identifiers"},
      {processor + "[EF 3F00]\n", 4, "3F00 is the MF, a DF: [DF 3F00]"},
      {processor + "[EF 3F00/2F01]\n[EF 3F00/2f01]\n", 5, "a second [EF 3F00/2f01]"},
      {processor + "[EF 3F00/2F01]\nData=01\nRecord1=02\n", 5,
       "an EF has either records or Data=, Text= and Size="},
      {processor + "[EF 3F00/2F01]\nData=01\nText=A\n", 6, "both Data= and Text="},
      {processor + "[EF 3F00/2F01]\nData=010203\nSize=2\n", 6,
       "Size=2: smaller than the 3 bytes of its contents"},
      {processor + "[EF 3F00/2F01]\nSize=40000\n", 5, "Size=40000: not a number from 0 to 32768"},
      {processor + "[EF 3F00/2F01]\nRecord1=\n", 5, "Record1=: a record has 1 to 255 bytes"},
      {processor + "[EF 3F00/2F01]\nRecord1=01\nRecord3=03\n", 6,
       "unknown key \"Record3\" in [EF 3F00/2F01]"},
      {processor + "[EF 3F00/2F01]\nRead=sometimes\n", 5,
       "Read=sometimes: not always, never or PIN and its reference (PIN 01)"},
      {processor + "[EF 3F00/2F01]\nRead=PIN 02\n[PIN 01]\nText=1\n", 5, "no [PIN 02] section"},
      {processor + "[EF 3F00/2F01]\nSFI=31\n", 5, "SFI=31: not a number from 1 to 30"},
      {processor + "[EF 3F00/2F01]\nSFI=1\n[EF 3F00/2F02]\nSFI=0x1\n", 7,
       "SFI=0x1: another EF of this DF has it"},
      {processor + "[DF 3F00/D001]\nAID=F0 01\n[DF 3F00/D002]\nAID=F001\n", 7,
       "AID=F001: another DF has this AID"},
      {processor + "[DF 3F00/D001]\nAID=" + std::string(34, '1') + "\n", 5,
       "AID=" + std::string(34, '1') + ": an AID has 1 to 16 bytes"},
      {processor + "[PIN 1234]\nText=1\n", 4,
       "[PIN 1234]: a PIN's reference is one byte in hex, as in [PIN 01]"},
      {processor + "[PIN 01]\nTries=3\n", 4, "[PIN 01] has no Text= or Data= with its value"},
      {processor + "[PIN 01]\nText=1\nTries=0\n", 6, "Tries=0: not a number from 1 to 15"},
      {processor + "[PIN 01]\nText=1\n[PIN 01]\nText=2\n", 6, "a second [PIN 01]"},
      {processor + "[Application]\n", 4,
       "[Application] belongs to a memory card; a processor card has [DF ...]"},
      {"[Card]\nKind=memory\nATR=A2 13 10 91\n", 1, "[Card] has no Size="},
      {"[Card]\nKind=memory\nATR=\nSize=4\n", 3, "ATR=: an ATR has 1 to 33 bytes"},
      {"[Card]\nKind=memory\nATR=A2\nSize=0\n", 4, "Size=0: not a number from 1 to 32768"},
      {"[Card]\nKind=memory\nATR=A2\nDataFile=gone.bin\n", 4, "DataFile=gone.bin: cannot be read"},
      {"[Card]\nKind=memory\nATR=A2\nData=01\nDataFile=contents.bin\n", 5,
       "both DataFile= and Data= or Text="},
      {"[Card]\nKind=memory\nATR=A2\nProtocol=T=0\nSize=4\n", 4, "unknown key \"Protocol\" in [Card]"},
      {memory + "[Application]\nAID=F001\nOffset=0\n", 5, "[Application] has no Length="},
      {memory + "[Application]\nAID=F001\nOffset=16\nLength=1\n", 7, "Offset=16: not a number from 0 to 15"},
      {memory + "[Application]\nAID=F001\nOffset=10\nLength=7\n", 8, "Length=7: not a number from 1 to 6"},
      {memory + "[Application]\nAID=F001\nOffset=0\nLength=1\n[Application]\nAID=F001\nOffset=1\nLength=1\n",
       10, "AID=F001: another application has this AID"},
      {memory + "[DF 3F00/D001]\n", 5,
       "[DF 3F00/D001] belongs to a processor card; a memory card has [Application]"},
      {";" + std::string(sim::kMaxCardFileSize, 'x') + "\n", 0, "larger than 1 MB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.size() < 200 ? c.text : c.text.substr(0, 40));
    const sim::ParsedCardFile parsed = Parse(c.text);
    EXPECT_FALSE(parsed.card);
    EXPECT_EQ(parsed.error.line, c.line);
    EXPECT_EQ(parsed.error.message, c.message);
  }
}

TEST(CardFile, RefusesMoreThanAThousandFiles) {
  std::string text = "[Card]\nKind=processor\nATR=3B00\n";
  for (int i = 1; i < 1000; ++i) {
    char section[32];
    std::snprintf(section, sizeof section, "[EF 3F00/%04X]\n", 0x1000 + i);
    text += section;
  }
  ASSERT_TRUE(Parse(text).card) << "the MF and 999 files are 1000";
  text += "[EF 3F00/2F00]\n";
  const sim::ParsedCardFile parsed = Parse(text);
  EXPECT_FALSE(parsed.card);
  EXPECT_EQ(parsed.error.line, 1003u);
  EXPECT_EQ(parsed.error.message, "more than 1000 files");
}

TEST(AtrCheck, FindsTheProtocolsAndTheHistoricalBytes) {
  const struct {
    Bytes atr;
    bool t0, t1;
    unsigned first;
    Bytes historical;
  } cases[] = {
      {{0x3B, 0x00}, true, false, 0, {}},
      {{0x3B, 0x68, 0x00, 0x00, 0x80, 0x4B, 0x4C, 0x56, 0x53, 0x49, 0x4D, 0x01},
       true,
       false,
       0,
       {0x80, 0x4B, 0x4C, 0x56, 0x53, 0x49, 0x4D, 0x01}},
      // TD1 T=0, TD2 T=1: both, and a TCK.
      {{0x3F, 0x82, 0x80, 0x01, 0x11, 0x22, 0x30}, true, true, 0, {0x11, 0x22}},
      {{0x3B, 0x80, 0x81, 0x1F, 0xC3, 0xDD}, false, true, 1, {}},
  };
  for (const auto& c : cases) {
    const sim::CheckedAtr checked = sim::CheckAtr(c.atr);
    ASSERT_TRUE(checked.facts) << checked.problem;
    EXPECT_EQ(checked.facts->offersT0, c.t0);
    EXPECT_EQ(checked.facts->offersT1, c.t1);
    EXPECT_EQ(checked.facts->firstProtocol, c.first);
    EXPECT_EQ(checked.facts->historicalBytes, c.historical);
  }
  // Whatever the historical bytes hold; but a memory card's four bytes are no processor card's ATR.
  EXPECT_TRUE(sim::CheckAtr({0x3B, 0x02, 0x4B, 0x4C}).facts) << "compact-TLV cut short";
  EXPECT_EQ(sim::CheckAtr({0xA2, 0x13, 0x10, 0x91}).problem,
            "H1 to H4 of a memory card, not a processor card's ATR");
  for (const Bytes& wrong : {Bytes(34, 0x3B), Bytes{}, Bytes{0x3B}, Bytes{0x3B, 0x11, 0x00}}) {
    const sim::CheckedAtr checked = sim::CheckAtr(wrong);
    EXPECT_FALSE(checked.facts) << ::testing::PrintToString(wrong);
    EXPECT_FALSE(checked.problem.empty());
  }
}

}  // namespace
