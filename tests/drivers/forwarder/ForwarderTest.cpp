// The forwarder's flow over a scripted system: settings file, library loading, name lookup, and the
// calls passed on to a recording driver.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

#include "drivers/forwarder/DriverSettings.h"
#include "drivers/forwarder/Forwarder.h"

namespace forwarder {
namespace {

// The driver behind the forwarder: records what arrives and answers as scripted.
struct Recorded {
  std::vector<int> args;
  std::vector<std::uint8_t> command;
  int rc = 0;
  std::vector<std::uint8_t> answer;
  std::optional<std::uint16_t> reportedLength;
  std::uint8_t answerDad = 2, answerSad = 1;
  std::string version = "VENDOR CT 4.2";
  void* responseSeen = nullptr;
};
Recorded driver;

signed char CTAPI_CALL FakeInit(unsigned short ctn, unsigned short pn) {
  driver.args = {ctn, pn};
  return static_cast<signed char>(driver.rc);
}
signed char CTAPI_CALL FakeClose(unsigned short ctn) {
  driver.args = {ctn};
  return static_cast<signed char>(driver.rc);
}
signed char CTAPI_CALL FakeData(unsigned short ctn, unsigned char* dad, unsigned char* sad,
                                unsigned short lenc, unsigned char* command, unsigned short* lenr,
                                unsigned char* response) {
  driver.args = {ctn, *dad, *sad, lenc, *lenr};
  driver.command.assign(command, command + lenc);
  driver.responseSeen = response;
  std::memcpy(response, driver.answer.data(), std::min<std::size_t>(driver.answer.size(), *lenr));
  *lenr = driver.reportedLength.value_or(static_cast<std::uint16_t>(driver.answer.size()));
  *dad = driver.answerDad;
  *sad = driver.answerSad;
  return static_cast<signed char>(driver.rc);
}
signed char CTAPI_CALL FakeVersion(char* buffer, int selector) {
  driver.args = {selector};
  std::memcpy(buffer, driver.version.data(),
              driver.version.size());  // no NUL: the forwarder's zeroed room ends it
  return 0;
}

class ScriptedPlatform : public Platform {
 public:
  struct Library {
    std::string path;
    std::map<std::string, void*> exports;
  };

  std::string SettingsPath() override { return "C:\\kelvanor\\ZEMTRAK.INI"; }
  FileRead ReadText(const std::string& path, std::size_t limit) override {
    ++reads;
    EXPECT_EQ(path, SettingsPath());
    if (!settings) return {std::nullopt, 2};
    return {settings->substr(0, limit + 1), 0};
  }
  Loaded Load(const std::string& name) override {
    ++loads;
    loadedName = name;
    const auto it = libraries.find(name);
    return it == libraries.end() ? Loaded{nullptr, 126} : Loaded{&it->second, 0};
  }
  void* Find(void* library, const std::string& name) override {
    const auto& exports = static_cast<Library*>(library)->exports;
    const auto it = exports.find(name);
    return it == exports.end() ? nullptr : it->second;
  }
  std::string LibraryPath(void* library) override { return static_cast<Library*>(library)->path; }
  void Unload(void*) override { ++unloads; }

  std::optional<std::string> settings;
  std::map<std::string, Library> libraries;
  std::atomic<int> reads = 0, loads = 0, unloads = 0;
  std::string loadedName;
};

void* Address(auto* function) { return reinterpret_cast<void*>(function); }

const std::map<std::string, void*> kFullDriver = {{"CT_init", Address(&FakeInit)},
                                                  {"CT_close", Address(&FakeClose)},
                                                  {"CT_data", Address(&FakeData)},
                                                  {"CT_version", Address(&FakeVersion)}};

class ForwarderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    driver = {};
    platform.settings = "[Driver]\r\nLibrary=vendor\\ctapi.dll\r\n";
    platform.libraries["C:\\kelvanor\\vendor\\ctapi.dll"] = {"C:\\kelvanor\\vendor\\ctapi.dll", kFullDriver};
  }
  std::string Version() {
    char buffer[kVersionBuffer];
    std::memset(buffer, '?', sizeof buffer);
    forwarder.Version(buffer, 3);
    EXPECT_NE(std::memchr(buffer, '\0', sizeof buffer), nullptr);
    return buffer;
  }

  ScriptedPlatform platform;
  Forwarder forwarder{platform, false};
};

TEST_F(ForwarderTest, EveryCallArrivesWithItsArgumentsAndItsAnswerComesBack) {
  EXPECT_EQ(platform.loads, 0) << "nothing is loaded before the first call";
  driver.rc = 0;
  EXPECT_EQ(forwarder.Init(7, 3), 0);
  EXPECT_EQ(driver.args, (std::vector<int>{7, 3}));
  EXPECT_EQ(platform.loadedName, "C:\\kelvanor\\vendor\\ctapi.dll");

  driver.answer = {0x03, 0x90, 0x00};
  std::uint8_t command[] = {0x20, 0x13, 0x00, 0x80};
  std::uint8_t dad = 1, sad = 2, response[16] = {};
  std::uint16_t lenr = sizeof response;
  EXPECT_EQ(forwarder.Data(7, &dad, &sad, 4, command, &lenr, response), 0);
  EXPECT_EQ(driver.args, (std::vector<int>{7, 1, 2, 4, 16}));
  EXPECT_EQ(driver.command, (std::vector<std::uint8_t>{0x20, 0x13, 0x00, 0x80}));
  EXPECT_EQ(driver.responseSeen, response) << "the caller's own buffer, not a bigger one";
  EXPECT_EQ(lenr, 3);
  EXPECT_EQ(std::vector<std::uint8_t>(response, response + 3), driver.answer);
  EXPECT_EQ(dad, 2);
  EXPECT_EQ(sad, 1);

  for (int rc : {-8, -10, -128, 1}) {
    driver.rc = rc;
    lenr = sizeof response;
    EXPECT_EQ(forwarder.Data(7, &dad, &sad, 4, command, &lenr, response), rc);
    EXPECT_EQ(forwarder.Close(9), rc);
  }
  EXPECT_EQ(driver.args, (std::vector<int>{9}));
  EXPECT_EQ(Version(), "VENDOR CT 4.2");
  EXPECT_EQ(driver.args, (std::vector<int>{3}));
  EXPECT_EQ(platform.loads, 1) << "bound once";
}

TEST_F(ForwarderTest, ALengthBeyondTheCallersBufferIsCutAndReported) {
  const struct {
    int rc;
    std::uint16_t reported;
    int expectedRc;
    std::uint16_t expectedLenr;
  } cases[] = {
      {0, 16, 0, 16},        // exactly the capacity
      {0, 17, -11, 16},      // one more than given
      {0, 65535, -11, 16},   //
      {-10, 4000, -11, 16},  // even with an error, the length is not to be trusted
      {-10, 0, -10, 0},      //
  };
  ASSERT_EQ(forwarder.Init(1, 1), 0);
  for (const auto& c : cases) {
    driver.rc = c.rc;
    driver.answer.assign(16, 0x5A);
    driver.reportedLength = c.reported;
    std::uint8_t command[] = {0x00, 0xB0, 0x00, 0x00, 0x00}, dad = 0, sad = 2;
    std::uint8_t response[17] = {};
    std::uint16_t lenr = 16;
    EXPECT_EQ(forwarder.Data(1, &dad, &sad, 5, command, &lenr, response), c.expectedRc) << c.reported;
    EXPECT_EQ(lenr, c.expectedLenr) << c.reported;
    EXPECT_EQ(response[16], 0) << "the driver was never told of the byte past the capacity";
  }
}

TEST_F(ForwarderTest, EachFailureIsToldAndEveryCallGivesErrHost) {
  const std::string kIni = "C:\\kelvanor\\ZEMTRAK.INI";
  auto withoutData = kFullDriver;
  withoutData.erase("CT_data");
  const struct {
    std::optional<std::string> settings;
    std::map<std::string, void*> exports;
    std::string text;
    int unloads = 0;  // a library without the functions is let go at each try (CT_version, CT_init)
  } cases[] = {
      {std::nullopt, kFullDriver, "Forwarder: cannot read " + kIni + " (error 2)"},
      {"", kFullDriver, "Forwarder: no [Driver] Library= in " + kIni},
      {std::string(kMaxSettingsBytes + 1, '\n'), kFullDriver, "Forwarder: too large: " + kIni},
      {std::string("[Driver]\nLibrary=\xff\x01\x02\n"), kFullDriver,
       "Forwarder: unusable [Driver] Library= in " + kIni},
      {"[Driver]\nLibrary=absent.dll\n", kFullDriver, "Forwarder: cannot load absent.dll (error 126)"},
      {"[Driver]\nLibrary=C:\\v\\ct.dll\n", withoutData, "Forwarder: no CT_data in C:\\v\\ct.dll", 2},
  };
  for (const auto& c : cases) {
    ScriptedPlatform system;
    system.settings = c.settings;
    system.libraries["C:\\v\\ct.dll"] = {"C:\\v\\ct.dll", c.exports};
    Forwarder failing(system, false);
    char text[kVersionBuffer] = {};
    EXPECT_EQ(failing.Version(text, 3), kErrHost);
    EXPECT_EQ(std::string(text), c.text);
    EXPECT_EQ(failing.Init(1, 1), kErrHost) << c.text;
    std::uint8_t dad = 1, sad = 2, command[4] = {0x20, 0x11, 0x00, 0x00}, response[8];
    std::uint16_t lenr = sizeof response;
    EXPECT_EQ(failing.Data(1, &dad, &sad, 4, command, &lenr, response), kErrHost);
    EXPECT_EQ(failing.Close(1), kErrHost);
    EXPECT_EQ(system.unloads, c.unloads);
  }
}

TEST_F(ForwarderTest, OnlyInitRetriesAFailedBinding) {
  platform.settings.reset();
  EXPECT_EQ(Version(), "Forwarder: cannot read C:\\kelvanor\\ZEMTRAK.INI (error 2)");
  platform.settings = "[Driver]\nLibrary=vendor\\ctapi.dll\n";
  std::uint8_t dad = 1, sad = 2, command[4] = {}, response[8];
  std::uint16_t lenr = sizeof response;
  EXPECT_EQ(forwarder.Data(1, &dad, &sad, 4, command, &lenr, response), kErrHost);
  EXPECT_EQ(forwarder.Close(1), kErrHost);
  EXPECT_EQ(platform.reads, 1) << "a repaint or a command does not read the file again";

  EXPECT_EQ(forwarder.Init(1, 1), 0) << "the corrected file counts at the next CT_init";
  EXPECT_EQ(Version(), "VENDOR CT 4.2");
  EXPECT_EQ(forwarder.Init(2, 1), 0);
  EXPECT_EQ(platform.reads, 2) << "once bound, never again";
}

TEST_F(ForwarderTest, VersionTextOfTheDriverOrOfTheForwarder) {
  driver.version = std::string(300, 'V');  // longer than any caller's buffer, without its NUL
  char buffer[kVersionBuffer + 8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(forwarder.Version(buffer, 3), 0);
  EXPECT_EQ(std::string(buffer), std::string(kVersionBuffer - 1, 'V'));
  EXPECT_EQ(std::string(buffer + kVersionBuffer, 8), std::string(8, '#')) << "nothing past 120 bytes";
  EXPECT_EQ(forwarder.Version(nullptr, 3), kErrInvalid);

  ScriptedPlatform system;
  system.settings = "[Driver]\nLibrary=ctapi32.dll\n";
  auto withoutVersion = kFullDriver;
  withoutVersion.erase("CT_version");
  system.libraries["ctapi32.dll"] = {"C:\\windows\\system32\\ctapi32.dll", withoutVersion};
  Forwarder noVersion(system, false);
  char text[kVersionBuffer] = {};
  EXPECT_EQ(noVersion.Version(text, 3), 0);
  EXPECT_STREQ(text, "Forwarder to C:\\windows\\system32\\ctapi32.dll");
}

TEST_F(ForwarderTest, ThirtyTwoBitDriversMayExportDecoratedNames) {
  platform.libraries["C:\\kelvanor\\vendor\\ctapi.dll"].exports = {{"_CT_init@8", Address(&FakeInit)},
                                                                   {"CT_close@4", Address(&FakeClose)},
                                                                   {"_CT_data@28", Address(&FakeData)}};
  Forwarder stdcall(platform, true);
  driver.rc = 0;
  EXPECT_EQ(stdcall.Init(4, 2), 0);
  EXPECT_EQ(driver.args, (std::vector<int>{4, 2}));
  EXPECT_EQ(stdcall.Close(4), 0);

  Forwarder plainNamesOnly(platform, false);
  EXPECT_EQ(plainNamesOnly.Init(4, 2), kErrHost) << "64-bit drivers have no decorations to look for";
}

TEST_F(ForwarderTest, CallsFromSeveralThreadsAtFirstUseBindOnce) {
  std::vector<std::thread> threads;
  std::atomic<int> failures = 0;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&, i] {
      char text[kVersionBuffer];
      if (i % 2 ? forwarder.Init(static_cast<std::uint16_t>(i), 1) != 0 : forwarder.Version(text, 3) != 0)
        ++failures;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(platform.loads, 1);
}

}  // namespace
}  // namespace forwarder
