// Card files in the simulated driver: named in the settings, read at each CT_init, listed for the
// control window, and refused with a text that says which file, which line and what is wrong.
#include <gtest/gtest.h>

#include <map>

#include "sim/zemtrak/StatusText.h"
#include "sim/zemtrak/TerminalSim.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Files by path, changed by the test between calls; the settings file is /cards/ZEMTRAK.INI.
struct Disk {
  std::map<std::string, std::string> files;
  std::optional<std::string> Read(const std::string& path) const {
    const auto f = files.find(path);
    return f == files.end() ? std::nullopt : std::optional<std::string>(f->second);
  }
};

struct Driver {
  Disk disk;
  sim::TerminalSim t{
      [this] { return disk.Read("/cards/ZEMTRAK.INI"); },
      std::make_unique<sim::ManualClock>(),
      {[] { return std::string("/cards/"); }, [this](const std::string& path) { return disk.Read(path); }}};

  Bytes Send(Bytes command, std::uint8_t dad = 0) {
    std::uint8_t sad = 2;
    std::uint16_t lenr = 300;
    Bytes response(lenr);
    EXPECT_EQ(t.Data(0, &dad, &sad, static_cast<std::uint16_t>(command.size()), command.data(), &lenr,
                     response.data()),
              0);
    response.resize(lenr);
    return response;
  }
  std::string Version() {
    char text[sim::TerminalSim::kVersionCapacity + 1] = {};
    t.Version(text, 0);
    return text;
  }
};

const Bytes kResetIcc{0x20, 0x11, 0x01, 0x01};
const std::string kOne = "[Card]\nName=One\nKind=processor\nATR=3B 01 AA\n[EF 3F00/0001]\nData=00\n";
const std::string kTwo = "[Card]\nKind=memory\nATR=A2 13 10 91\nSize=4\n";

TEST(CardFileTerminal, TheFirstCardFileIsInsertedAndAllAreListedAfterTheBuiltInCards) {
  Driver d;
  d.disk.files = {{"/cards/ZEMTRAK.INI", "[Card]\nFile=one.card ; /elsewhere/two.card\nType=sync\n"},
                  {"/cards/one.card", kOne},
                  {"/elsewhere/two.card", kTwo}};
  ASSERT_EQ(d.t.Init(0, 0), 0) << d.Version();
  EXPECT_EQ(d.Send(kResetIcc, 1), (Bytes{0x3B, 0x01, 0xAA, 0x90, 0x01})) << "the card file's, not Type=";
  EXPECT_EQ(d.Version(), sim::DefaultVersionText());
  const std::vector<sim::CardChoice> choices = d.t.Slot().Choices();
  ASSERT_EQ(choices.size(), 4u);
  EXPECT_EQ(choices[0].name, "Processor card (asynchronous)");
  EXPECT_EQ(choices[1].name, "Memory card (synchronous)");
  EXPECT_EQ(choices[2].description, "One (processor card, T=0)");
  EXPECT_EQ(choices[3].description, "two.card (memory card)") << "no Name=: the file's name";

  d.t.Slot().Insert(3);  // as the control window does
  EXPECT_EQ(d.Send(kResetIcc, 1), (Bytes{0xA2, 0x13, 0x10, 0x91, 0x90, 0x00}));
  EXPECT_EQ(sim::StatusText(d.t.Slot().State(), choices[3], 1, false),
            "Sessions open: 1\r\nCard: two.card (memory card), activated");
  EXPECT_EQ(d.t.Close(0), 0);
}

TEST(CardFileTerminal, ABadCardFileFailsCtInitAndTheVersionTextSaysWhereAndWhy) {
  Driver d;
  d.disk.files = {{"/cards/ZEMTRAK.INI", "[Card]\nFile=bad.card\n"}};
  const struct {
    std::optional<std::string> card;
    std::string version;
  } cases[] = {
      {"[Card]\nKind=processor\nATR=3B 81 01 80 07\n",
       "Card file /cards/bad.card line 3: ATR: TCK 07 is wrong: 00 expected"},
      {std::nullopt, "Card file /cards/bad.card: cannot be read"},
      {";" + std::string(sim::kMaxCardFileSize, ' '), "Card file /cards/bad.card: larger than 1 MB"},
      {"[Card]\nKind=processor\nATR=3B 00\n[Key]\n",
       "Card file /cards/bad.card line 4: unknown section [Key]"},
  };
  for (const auto& c : cases) {
    if (c.card) {
      d.disk.files["/cards/bad.card"] = *c.card;
    } else {
      d.disk.files.erase("/cards/bad.card");
    }
    EXPECT_EQ(d.t.Init(0, 0), -8);
    EXPECT_EQ(d.Version(), c.version);
    EXPECT_EQ(d.t.CardFileProblem(), c.version);
  }
  d.disk.files["/cards/bad.card"] = kOne;
  ASSERT_EQ(d.t.Init(0, 0), 0) << "corrected, the next CT_init works";
  EXPECT_EQ(d.Version(), sim::DefaultVersionText());
  EXPECT_FALSE(d.t.CardFileProblem());
}

TEST(CardFileTerminal, ALongPathIsShortenedFromTheLeftAndTheFaultStays) {
  Driver d;
  const std::string folder = "/" + std::string(120, 'f') + "/";
  d.disk.files = {{"/cards/ZEMTRAK.INI", "[Card]\nFile=" + folder + "x.card\n"}};
  EXPECT_EQ(d.t.Init(0, 0), -8);
  const std::string version = d.Version();
  EXPECT_EQ(version.size(), 107u);
  EXPECT_TRUE(version.starts_with("Card file ...fff")) << version;
  EXPECT_TRUE(version.ends_with("f/x.card: cannot be read")) << version;
}

TEST(CardFileTerminal, AChangedFileGivesAFreshCardAtTheNextCtInitAndAnUnchangedOneKeepsItsContents) {
  Driver d;
  d.disk.files = {{"/cards/ZEMTRAK.INI", "[Card]\nFile=one.card\n"}, {"/cards/one.card", kOne}};
  const Bytes select{0x00, 0xA4, 0x00, 0x0C, 0x02, 0x00, 0x01};
  const Bytes write{0x00, 0xD6, 0x00, 0x00, 0x01, 0x77};
  const Bytes read{0x00, 0xB0, 0x00, 0x00, 0x01};
  ASSERT_EQ(d.t.Init(0, 0), 0);
  d.Send(kResetIcc, 1);
  d.Send(select);
  EXPECT_EQ(d.Send(write), (Bytes{0x90, 0x00}));

  d.disk.files["/cards/one.card"] = kOne + "; a comment changes nothing on the card\n";
  ASSERT_EQ(d.t.Close(0), 0);
  ASSERT_EQ(d.t.Init(0, 0), 0);
  d.Send(kResetIcc, 1);
  d.Send(select);
  EXPECT_EQ(d.Send(read), (Bytes{0x61, 0x01}));
  EXPECT_EQ(d.Send({0x00, 0xC0, 0x00, 0x00, 0x01}), (Bytes{0x77, 0x90, 0x00})) << "what was written stays";

  // Changed while the session runs: nothing happens until the next CT_init.
  d.disk.files["/cards/one.card"] =
      "[Card]\nName=One\nKind=processor\nATR=3B 01 BB\n[EF 3F00/0001]\nData=00\n";
  d.Send(select);
  EXPECT_EQ(d.Send(read), (Bytes{0x61, 0x01}));
  ASSERT_EQ(d.t.Close(0), 0);
  ASSERT_EQ(d.t.Init(0, 0), 0);
  EXPECT_EQ(d.Send(kResetIcc, 1), (Bytes{0x3B, 0x01, 0xBB, 0x90, 0x01}));
  d.Send(select);
  d.Send(read);
  EXPECT_EQ(d.Send({0x00, 0xC0, 0x00, 0x00, 0x01}), (Bytes{0x00, 0x90, 0x00})) << "fresh contents";

  // Gone from the settings: the built-in card takes its place.
  d.disk.files["/cards/ZEMTRAK.INI"] = "";
  ASSERT_EQ(d.t.Close(0), 0);
  ASSERT_EQ(d.t.Init(0, 0), 0);
  EXPECT_EQ(d.t.Slot().Choices().size(), 2u);
  EXPECT_EQ(d.Send(kResetIcc, 1).size(), 14u) << "the built-in processor card's ATR";
}

TEST(CardFileTerminal, WithoutCardFilesTheBuiltInCardsAnswerAsBefore) {
  Driver d;
  ASSERT_EQ(d.t.Init(0, 0), 0);
  d.Send(kResetIcc, 1);
  EXPECT_EQ(d.Send({0x00, 0xA4, 0x00, 0x00, 0x02, 0x2F, 0x01}), (Bytes{0x90, 0x00})) << "no FCI";
  EXPECT_EQ(d.Send({0x00, 0xB0, 0x00, 0x00, 0x04}), (Bytes{'K', 'E', 'L', 'V', 0x90, 0x00})) << "no 61 xx";
  EXPECT_EQ(d.Send({0x00, 0xA4, 0x04, 0x00, 0x05, 0xF0, 0x01, 0x02, 0x03, 0x04}), (Bytes{0x6A, 0x82}));
}

}  // namespace
