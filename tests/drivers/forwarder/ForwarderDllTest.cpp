// The forwarding ZEMTRAK.DLL under Wine in front of the simulated terminal's DLL under a vendor's
// file name, and each way forwarding can fail.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "sim/zemtrak/ZemtrakControl.h"
#include "tests/drivers/forwarder/ForwarderCopy.h"

namespace fs = std::filesystem;

namespace {

// The simulated driver copied as VENDORCT.DLL, and its control exports once the forwarder loaded it.
class VendorDriver {
 public:
  VendorDriver() : folder_(fs::temp_directory_path() / "kelvanor-vendor") {
    fs::create_directories(folder_);
    fs::copy_file(BinDirectory() / "ZEMTRAK.DLL", Path(), fs::copy_options::overwrite_existing);
  }
  fs::path Path() const { return folder_ / "VENDORCT.DLL"; }
  template <class F>
  F* Get(const char* name) const {
    return reinterpret_cast<F*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("VENDORCT.DLL"), name)));
  }

 private:
  fs::path folder_;
};

std::vector<unsigned char> Bytes(const unsigned char* data, unsigned short length) {
  return std::vector<unsigned char>(data, data + length);
}

TEST(ForwarderDll, EveryCallArrivesWithItsArgumentsAndTheAnswersComeBackUnchanged) {
  const VendorDriver vendor;
  const ForwarderCopy forwarder(
      "vendor", "; the vendor's driver\r\n[Driver]\r\nLibrary = " + vendor.Path().string() + "\r\n");
  ASSERT_TRUE(forwarder.Loaded());
  EXPECT_EQ(GetModuleHandleA("VENDORCT.DLL"), nullptr) << "loaded at the first call, not before";
  const CtDriver& ct = forwarder.Driver();

  EXPECT_EQ(ct.init(1, 5), -8) << "the simulated terminal is not on port 5";
  ASSERT_NE(GetModuleHandleA("VENDORCT.DLL"), nullptr);
  vendor.Get<ZemtrakSimResetFn>("ZemtrakSimReset")();
  ASSERT_EQ(ct.init(1, 1), 0);
  EXPECT_EQ(ct.init(1, 1), -1) << "already open";

  unsigned char dad = 1, sad = 2, response[64] = {};
  unsigned char command[] = {0x20, 0x13, 0x00, 0x80};
  unsigned short lenr = sizeof response;
  ASSERT_EQ(ct.data(1, &dad, &sad, 4, command, &lenr, response), 0);
  EXPECT_EQ(Bytes(response, lenr), (std::vector<unsigned char>{0x03, 0x90, 0x00}));
  EXPECT_EQ(dad, 2);
  EXPECT_EQ(sad, 1);
  unsigned char seen[16] = {};
  unsigned seenCtn = 0;
  unsigned char seenDad = 0, seenSad = 0;
  const int seenLength = vendor.Get<ZemtrakSimLastCommandFn>("ZemtrakSimLastCommand")(
      seen, sizeof seen, &seenCtn, &seenDad, &seenSad);
  EXPECT_EQ(std::vector<unsigned char>(seen, seen + seenLength), Bytes(command, 4));
  EXPECT_EQ(seenCtn, 1u);
  EXPECT_EQ(seenDad, 1);
  EXPECT_EQ(seenSad, 2);

  // Scripted answers of the driver: return codes, addresses and lengths pass as they are, except a
  // length beyond the caller's buffer.
  const auto queue = vendor.Get<ZemtrakSimQueueAnswerFn>("ZemtrakSimQueueAnswer");
  const unsigned char answer[] = {0x12, 0x34, 0x90, 0x00};
  const struct {
    int rc, dad, sad, reported;
    int expectedRc;
    unsigned short expectedLenr;
  } cases[] = {
      {0, 0, 2, -1, 0, 4},        {5, 2, 0, -1, 5, 4},    {-10, -1, -1, 0, -10, 0},
      {-128, -1, -1, 0, -128, 0}, {0, -1, -1, 16, 0, 16}, {0, -1, -1, 17, -11, 16},
  };
  for (const auto& c : cases) {
    queue(c.rc, answer, sizeof answer, c.dad, c.sad, c.reported);
    dad = 1, sad = 2, lenr = 16;
    EXPECT_EQ(ct.data(1, &dad, &sad, 4, command, &lenr, response), c.expectedRc) << c.rc << " " << c.reported;
    EXPECT_EQ(lenr, c.expectedLenr) << c.rc << " " << c.reported;
    EXPECT_EQ(dad, c.dad < 0 ? 1 : c.dad);
    EXPECT_EQ(sad, c.sad < 0 ? 2 : c.sad);
  }
  EXPECT_EQ(Bytes(response, 4), Bytes(answer, 4));

  const auto vendorVersion = vendor.Get<CtVersionFn>("CT_version");
  char direct[120] = {};
  vendorVersion(direct, 3);
  EXPECT_EQ(forwarder.Version(), direct);
  vendor.Get<ZemtrakSimSetVersionFn>("ZemtrakSimSetVersion")("VENDOR CT 7.1", 13);
  EXPECT_EQ(forwarder.Version(), "VENDOR CT 7.1");

  EXPECT_EQ(ct.close(1), 0);
  EXPECT_EQ(ct.close(1), -1) << "already closed: the driver's own answer";
}

// The text with the file path in place of {file}; a path too long for the text may be cut to
// "..." and its end.
void ExpectTextNaming(const std::string& text, const std::string& pattern, const std::string& file) {
  const std::size_t at = pattern.find("{file}");
  ASSERT_NE(at, std::string::npos);
  const std::string before = pattern.substr(0, at), after = pattern.substr(at + 6);
  ASSERT_TRUE(text.starts_with(before) && text.ends_with(after) &&
              text.size() >= before.size() + after.size())
      << text;
  const std::string named = text.substr(before.size(), text.size() - before.size() - after.size());
  EXPECT_TRUE(named == file || (named.starts_with("...") && file.ends_with(named.substr(3)))) << text;
  EXPECT_LE(text.size(), 107u);
}

TEST(ForwarderDll, EachFailureIsToldInTheVersionTextAndInitGivesErrHost) {
  static const char kBinaryBytes[] = "MZ\x90\0\x03\0\0\0\x04\0\0\0\xff\xff\r\n[\0Driver]\n\x01=\x02";
  const std::string kBinary(kBinaryBytes, sizeof kBinaryBytes - 1);
  const std::string halfDriver = (BinDirectory() / "HALFDRV.DLL").string();
  const struct {
    const char* name;
    std::optional<std::string> settings;
    std::string expected;
    std::string file{};  // what {file} names: empty for the settings file, ".\\" for beside it
  } cases[] = {
      {"none", std::nullopt, "Forwarder: cannot read {file} (error 2)"},
      {"empty", "", "Forwarder: no [Driver] Library= in {file}"},
      {"binary", kBinary, "Forwarder: no [Driver] Library= in {file}"},
      {"other-section", "[Drivers]\nLibrary=VENDORCT.DLL\n", "Forwarder: no [Driver] Library= in {file}"},
      {"control-bytes", "[Driver]\nLibrary=VENDOR\tCT\x07.DLL\n",
       "Forwarder: unusable [Driver] Library= in {file}"},
      {"huge", std::string(100000, ';') + "\n[Driver]\nLibrary=ctapi32.dll\n",
       "Forwarder: too large: {file}"},
      {"absent", "[Driver]\nLibrary=NOSUCHCT.DLL\n", "Forwarder: cannot load {file} (error 126)",
       "NOSUCHCT.DLL"},
      {"not-a-dll", "[Driver]\nLibrary=.\\README.DLL\n",
       "Forwarder: cannot load {file} (error 193: not for this architecture)", ".\\README.DLL"},
      {"half", "[Driver]\nLibrary=" + halfDriver + "\n", "Forwarder: no CT_data in {file}", halfDriver},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ForwarderCopy forwarder(c.name, c.settings);
    ASSERT_TRUE(forwarder.Loaded());
    std::ofstream(forwarder.Folder() / "README.DLL") << "Not a library, a text.\r\n";
    const std::string ini = forwarder.SettingsPath();
    const std::string folder = ini.substr(0, ini.size() - std::string("ZEMTRAK.INI").size());
    const std::string file = c.file.empty() ? ini : c.file.starts_with(".\\") ? folder + c.file : c.file;
    ExpectTextNaming(forwarder.Version(), c.expected, file);
    EXPECT_EQ(forwarder.Driver().init(1, 1), -127);
    unsigned char dad = 1, sad = 2, command[] = {0x20, 0x11, 0x00, 0x00}, response[8];
    unsigned short lenr = sizeof response;
    EXPECT_EQ(forwarder.Driver().data(1, &dad, &sad, 4, command, &lenr, response), -127);
    EXPECT_EQ(forwarder.Driver().close(1), -127);
  }
}

}  // namespace
