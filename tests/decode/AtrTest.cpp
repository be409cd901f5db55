#include <gtest/gtest.h>

#include "decode/Atr.h"
#include "decode/Hex.h"

namespace decode {
namespace {

using Bytes = std::vector<std::uint8_t>;

Atr Decode(std::string_view hex) { return DecodeAtr(ParseHex(hex).bytes); }

std::string Names(const Atr& atr) {
  std::string names;
  for (const AtrByte& b : atr.interface) (names += b.name) += ' ';
  return names;
}

struct Case {
  std::string_view what, hex;
  Convention convention;
  int fi, di;
  double fmaxMhz;
  std::vector<int> protocols;
  std::string_view interface;  // the names in order
  bool tckPresent, tckValid;
  std::string_view historical;
  std::vector<std::string> problems;
};

TEST(Atr, FieldsOfATable) {
  const Case cases[] = {
      {"T=0, no TA1", "3B 02 14 50", Convention::Direct, 372, 1, 5, {0}, "", false, false, "14 50", {}},
      {"T=1 with TA1 and IFSC, BWI/CWI",
       "3B 95 13 81 31 FE 45 80 73 FF 01 00 80",
       Convention::Direct,
       372,
       4,
       5,
       {1},
       "TA1 TD1 TD2 TA3 TB3 ",
       true,
       true,
       "80 73 FF 01 00",
       {}},
      {"T=0 and T=1",
       "3B 8F 80 01 80 4F 0C A0 00 00 03 06 03 00 01 00 00 00 00 6A",
       Convention::Direct,
       372,
       1,
       5,
       {0, 1},
       "TD1 TD2 ",
       true,
       true,
       "80 4F 0C A0 00 00 03 06 03 00 01 00 00 00 00",
       {}},
      {"T=15 global bytes",
       "3B 80 80 1F 07 18",
       Convention::Direct,
       372,
       1,
       5,
       {0},
       "TD1 TD2 TA3 ",
       true,
       true,
       "",
       {}},
      {"TA1 with a high rate",
       "3B 11 96 80",
       Convention::Direct,
       512,
       32,
       5,
       {0},
       "TA1 ",
       false,
       false,
       "80",
       {}},
      {"inverse convention",
       "3F 65 25 00 2C 09 69 90 00",
       Convention::Inverse,
       372,
       1,
       5,
       {0},
       "TB1 TC1 ",
       false,
       false,
       "2C 09 69 90 00",
       {}},
      {"inverse, read unconverted",
       "03 59 5B FF CB 6F 69 F6 FF",
       Convention::Inverse,
       372,
       1,
       5,
       {0},
       "TB1 TC1 ",
       false,
       false,
       "2C 09 69 90 00",
       {}},
      {"wrong TCK",
       "3B 95 13 81 31 FE 45 80 73 FF 01 00 81",
       Convention::Direct,
       372,
       4,
       5,
       {1},
       "TA1 TD1 TD2 TA3 TB3 ",
       true,
       false,
       "80 73 FF 01 00",
       {"TCK 81 is wrong: 80 expected"}},
      {"cut in the interface bytes",
       "3B 95 13 81 31",
       Convention::Direct,
       372,
       4,
       5,
       {1},
       "TA1 TD1 TD2 ",
       false,
       false,
       "",
       {"Cut short: TA3 missing after 5 bytes"}},
      {"cut in the historical bytes",
       "3B 95 13 81 31 FE 45 80 73",
       Convention::Direct,
       372,
       4,
       5,
       {1},
       "TA1 TD1 TD2 TA3 TB3 ",
       false,
       false,
       "80 73",
       {"Historical bytes cut short: object 73 announces 3 bytes, 0 follow",
        "Cut short: 5 historical bytes announced, 2 present"}},
      {"TCK missing",
       "3B 95 13 81 31 FE 45 80 73 FF 01 00",
       Convention::Direct,
       372,
       4,
       5,
       {1},
       "TA1 TD1 TD2 TA3 TB3 ",
       false,
       false,
       "80 73 FF 01 00",
       {"Cut short: TCK missing after 12 bytes"}},
      {"byte after the end",
       "3B 02 14 50 00",
       Convention::Direct,
       372,
       1,
       5,
       {0},
       "",
       false,
       false,
       "14 50",
       {"1 byte after the end of the ATR"}},
      {"TCK sent with T=0 only",
       "3B 02 14 50 46",
       Convention::Direct,
       372,
       1,
       5,
       {0},
       "",
       true,
       true,
       "14 50",
       {"TCK present although only T=0 is offered"}},
      {"TA1 reserved",
       "3B 10 70",
       Convention::Direct,
       0,
       0,
       0,
       {0},
       "TA1 ",
       false,
       false,
       "",
       {"TA1 70: Fi or Di reserved for future use"}},
      {"no TS",
       "12 34 56",
       Convention::Direct,
       1488,
       32,
       16,
       {0},
       "TA1 ",
       false,
       false,
       "",
       {"TS 12 is neither 3B (direct) nor 3F (inverse convention)", "Cut short: TB1 missing after 3 bytes"}},
      {"TS alone",
       "3B",
       Convention::Direct,
       372,
       1,
       5,
       {0},
       "",
       false,
       false,
       "",
       {"Cut short: T0 missing after 1 byte"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Atr atr = Decode(c.hex);
    EXPECT_FALSE(atr.synchronous);
    EXPECT_EQ(atr.convention, c.convention);
    EXPECT_EQ(atr.fi, c.fi);
    EXPECT_EQ(atr.di, c.di);
    EXPECT_EQ(atr.fmaxMhz, c.fmaxMhz);
    EXPECT_EQ(atr.protocols, c.protocols);
    EXPECT_EQ(Names(atr), c.interface);
    EXPECT_EQ(atr.tck.present, c.tckPresent);
    EXPECT_EQ(atr.tck.valid, c.tckValid);
    EXPECT_EQ(HexBytes(atr.historical.bytes), c.historical);
    EXPECT_EQ(atr.problems, c.problems);
  }
}

TEST(Atr, MeaningsOfTheInterfaceBytes) {
  struct Meaning {
    std::string_view hex, name, meaning;
  } cases[] = {
      {"3B 11 96 00", "TA1", "Fi 512, f max 5 MHz, Di 32: 250000 bit/s at 4 MHz, 312500 bit/s at 5 MHz"},
      {"3B 10 11", "TA1", "Fi 372, f max 5 MHz, Di 1: 10753 bit/s at 4 MHz, 13441 bit/s at 5 MHz"},
      {"3B 10 01", "TA1", "Fi 372, f max 4 MHz, Di 1: 10753 bit/s at 4 MHz"},
      {"3B 10 A1", "TA1", "Fi 768, f max 7.5 MHz, Di 1: 5208 bit/s at 4 MHz, 9766 bit/s at 7.5 MHz"},
      {"3B 80 20 7F", "TB2", "Vpp 12.7 V (deprecated)"},
      {"3B 80 20 32", "TB2", "Vpp 5 V (deprecated)"},
      {"3B 20 00", "TB1", "No programming voltage (Vpp not connected)"},
      {"3B 40 FF", "TC1", "Minimum guard time: 12 etu for T=0, 11 etu for T=1"},
      {"3B 40 02", "TC1", "Extra guard time 2 etu"},
      {"3B 80 10 80", "TA2", "Specific mode, T=0; cannot change to negotiable mode; Fi and Di of TA1"},
      {"3B 80 40 0A", "TC2", "T=0 work waiting time: WI 10, 960 x 10 x Fi / f (893 ms with Fi 372 at 4 MHz)"},
      {"3B 90 96 40 0A", "TC2",
       "T=0 work waiting time: WI 10, 960 x 10 x Fi / f (1229 ms with Fi 512 at 4 MHz)"},
      {"3B 80 81 61 20 01", "TC3", "Error detection: CRC"},
      {"3B 80 41 05 44", "TC2", "Not defined for T=1"},
      {"3B 80 80 1F 07 18", "TA3", "Clock stop not supported; class A (5 V), B (3 V), C (1.8 V)"},
      {"3B 80 80 1F 42 1D", "TA3", "Clock stop in state L; class B (3 V)"},
      {"3B 80 80 3F 07 00 18", "TB3", "SPU: contact C6 not used"},
  };
  for (const Meaning& c : cases) {
    const Atr atr = Decode(c.hex);
    const auto it = std::find_if(atr.interface.begin(), atr.interface.end(),
                                 [&](const AtrByte& b) { return b.name == c.name; });
    ASSERT_NE(it, atr.interface.end()) << c.hex << " " << c.name;
    EXPECT_EQ(it->meaning, c.meaning) << c.hex;
  }
}

TEST(Atr, TooLongIsDecodedAsFarAsItGoes) {
  Bytes bytes = ParseHex("3B 0F").bytes;
  bytes.resize(40, 0x41);
  const Atr atr = DecodeAtr(bytes);
  EXPECT_EQ(atr.historical.bytes.size(), 15u);
  EXPECT_EQ(atr.problems, (std::vector<std::string>{"23 bytes after the end of the ATR",
                                                    "Longer than the 33 bytes an ATR may have: 40"}));
}

TEST(Atr, InterfaceBytesPastThe33rdAreStillRead) {
  // TS, T0, TA1 and TD1, four rounds of TA to TD, 15 historical bytes and TCK: 36 bytes.
  Bytes bytes = ParseHex("3B 9F 11 F1 11 00 00 F1 FE 45 01 F1 FE 45 01 F1 FE 45 01 01").bytes;
  bytes.resize(bytes.size() + 15, 0x00);
  bytes[bytes.size() - 15] = 0x80;
  std::uint8_t tck = 0;
  for (std::size_t i = 1; i < bytes.size(); ++i) tck ^= bytes[i];
  bytes.push_back(tck);
  const Atr atr = DecodeAtr(bytes);
  EXPECT_TRUE(atr.tck.valid);
  EXPECT_EQ(atr.interface.size(), 18u);
  EXPECT_EQ(atr.problems, (std::vector<std::string>{"Longer than the 33 bytes an ATR may have: 36"}));
}

TEST(Atr, EmptyIsNamed) { EXPECT_EQ(DecodeAtr({}).problems, std::vector<std::string>{"Empty: no TS"}); }

TEST(Atr, MemoryCardH1ToH4) {
  const Atr atr = Decode("A2 13 10 91");
  EXPECT_TRUE(atr.synchronous);
  EXPECT_TRUE(atr.protocols.empty());
  EXPECT_TRUE(atr.problems.empty());
  EXPECT_EQ(AtrLines(atr), (std::vector<std::string>{
                               "H1  A2  Synchronous card, two-wire bus (type A2)",
                               "H2  13  256 data units of 8 bits; read to the end",
                               "H3  10  Category 10: DIR data reference follows",
                               "H4  91  DIR data reference 91",
                           }));
  EXPECT_EQ(Decode("92 23 10 91").interface[0].meaning, "Synchronous card, three-wire bus (type 92)");
  EXPECT_EQ(Decode("92 23 10 91").interface[1].meaning, "1024 data units of 8 bits; read to the end");
}

TEST(Atr, HistoricalBytesByCategory) {
  struct Historical {
    std::string_view hex, category;
    std::vector<std::string> meanings;  // of the objects, then of the status indicator
    std::vector<std::string> problems = {};
  } cases[] = {
      {"80 73 FF 01 00",
       "Compact-TLV data objects",
       {"Card capabilities: selection by full DF name, partial DF name, path, file identifier, implicit DF, "
        "short "
        "EF identifier, record number, record identifier; data coding 01: one-time write, FF invalid as "
        "first tag "
        "byte, data unit 2 quartets; no logical channels"}},
      {"80 31 C0 73 94 01 D3 82 90 00",
       "Compact-TLV data objects",
       {"Card service data: application selection by full DF name, application selection by partial DF name; "
        "EF.DIR and EF.ATR read by READ RECORD; card with MF",
        "Card capabilities: selection by full DF name, file identifier, short EF identifier; data coding 01: "
        "one-time write, FF invalid as first tag byte, data unit 2 quartets; command chaining; extended Lc "
        "and Le; "
        "logical channels assigned by the card; up to 4 logical channels",
        "Status indicator: status word 90 00"}},
      {"00 12 34 45 45 01 02 03 04 05 07 90 00",
       "Compact-TLV data objects, then a status indicator",
       {"Country code and national data", "Initial access data",
        "Status indicator: life cycle: operational state, "
        "activated; status word 90 00"}},
      {"80 F5 A0 00 00 00 01 65 01 02 03 04 05",
       "Compact-TLV data objects",
       {"Application identifier", "Pre-issuing data"}},
      {"10 91", "DIR data reference", {}},
      {"41 42 43", "Proprietary", {}},
      {"85", "Reserved for future use", {}},
      {"00 90",
       "Compact-TLV data objects, then a status indicator",
       {"Tag 9: not defined by ISO/IEC 7816-4"},
       {"Historical bytes of category 00 without the 3 bytes of the status indicator"}},
      {"80 65 01 02",
       "Compact-TLV data objects",
       {"Pre-issuing data"},
       {"Historical bytes cut short: object 65 announces 5 bytes, 2 follow"}},
  };
  for (const Historical& c : cases) {
    SCOPED_TRACE(c.hex);
    const HistoricalBytes h = DecodeHistoricalBytes(ParseHex(c.hex).bytes);
    EXPECT_EQ(h.category, c.category);
    std::vector<std::string> meanings;
    for (const CompactTlv& o : h.objects) meanings.push_back(o.meaning);
    if (h.statusIndicator) meanings.push_back(h.statusIndicator->meaning);
    EXPECT_EQ(meanings, c.meanings);
    EXPECT_EQ(h.problems, c.problems);
  }
}

TEST(Atr, LinesForAPerson) {
  EXPECT_EQ(
      AtrLines(Decode("3B 95 13 81 31 FE 45 80 73 FF 01 00 81")),
      (std::vector<std::string>{
          "TS          3B  Direct convention",
          "T0          95  TA1 TD1 follow; 5 historical bytes",
          "TA1         13  Fi 372, f max 5 MHz, Di 4: 43011 bit/s at 4 MHz, 53763 bit/s at 5 MHz",
          "TD1         81  T=1; TD2 follows",
          "TD2         31  T=1; TA3 TB3 follow",
          "TA3         FE  IFSC 254 bytes",
          "TB3         45  BWI 4, CWI 5: CWT 43 etu, BWT 11 etu + 1428 ms at 4 MHz",
          "TCK         81  Check byte wrong",
          "Protocols   T=1",
          "Rate        Fi 372, Di 4, f max 5 MHz",
          "Historical  80 73 FF 01 00",
          "  Category  80        Compact-TLV data objects",
          "    73      FF 01 00  Card capabilities: selection by full DF name, partial DF name, path, file "
          "identifier, implicit DF, short EF identifier, record number, record identifier; data coding 01: "
          "one-time write, FF invalid as first tag byte, data unit 2 quartets; no logical channels",
          "Problem: TCK 81 is wrong: 80 expected",
      }));
}

}  // namespace
}  // namespace decode
