// libctapi-sim.so loaded as a Linux CT-API client loads it: by file name, functions by C name.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "ctapi/CtApi.h"
#include "tests/terminal/CommandForms.h"

namespace {

class Library : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("ZEMTRAK_SIM_SETTINGS");
    handle = dlopen(CTAPI_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    init = reinterpret_cast<CtInitFn*>(dlsym(handle, "CT_init"));
    close = reinterpret_cast<CtCloseFn*>(dlsym(handle, "CT_close"));
    data = reinterpret_cast<CtDataFn*>(dlsym(handle, "CT_data"));
    version = reinterpret_cast<CtVersionFn*>(dlsym(handle, "CT_version"));
    ASSERT_TRUE(init && close && data && version);
  }
  void TearDown() override {
    if (handle) dlclose(handle);
    unsetenv("ZEMTRAK_SIM_SETTINGS");
  }
  std::vector<unsigned char> Send(unsigned short ctn, std::vector<unsigned char> command, unsigned char dad = 1) {
    unsigned char sad = 2;
    unsigned short lenr = 256;
    std::vector<unsigned char> response(lenr);
    const int rc = data(ctn, &dad, &sad, static_cast<unsigned short>(command.size()), command.data(), &lenr,
                        response.data());
    EXPECT_EQ(rc, 0);
    response.resize(rc == 0 ? lenr : 0);
    return response;
  }

  void* handle = nullptr;
  CtInitFn* init = nullptr;
  CtCloseFn* close = nullptr;
  CtDataFn* data = nullptr;
  CtVersionFn* version = nullptr;
};

TEST_F(Library, DefaultsWithoutSettingsFile) {
  ASSERT_EQ(init(1, 1), 0);
  EXPECT_EQ(init(2, 5), -8) << "no terminal on port 5";
  EXPECT_EQ(Send(1, {0x20, 0x13, 0x00, 0x80}), (std::vector<unsigned char>{0x03, 0x90, 0x00}));
  char text[120];
  EXPECT_EQ(version(text, 0), 0);
  EXPECT_NE(std::string(text).find("simulated"), std::string::npos);
  EXPECT_EQ(close(1), 0);
  EXPECT_EQ(close(1), -1);
}

TEST_F(Library, SettingsFileNamedByTheEnvironment) {
  const auto path = std::filesystem::temp_directory_path() / "kelvanor-ctapi-sim-test.ini";
  std::ofstream(path) << "[Card]\nType=sync\n[Terminal]\nPort=7\n";
  setenv("ZEMTRAK_SIM_SETTINGS", path.c_str(), 1);
  ASSERT_EQ(init(3, 7), 0);
  EXPECT_EQ(Send(3, {0x20, 0x11, 0x01, 0x01}),
            (std::vector<unsigned char>{0xA2, 0x13, 0x10, 0x91, 0x90, 0x00}));
  EXPECT_EQ(close(3), 0);
  std::filesystem::remove(path);
}

// A client that knows its memory card's application: SELECT by AID, then READ BINARY in the area.
TEST_F(Library, ReadsTheExampleMemoryCardsApplicationArea) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "kelvanor-ctapi-sim-cards";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name : {"health-insurance.card", "health-insurance.bin"})
    fs::copy_file(fs::path(KELVANOR_EXAMPLES_DIR) / "cards" / name, folder / name);
  std::ofstream(folder / "settings.ini") << "[Card]\nFile=health-insurance.card\n";
  setenv("ZEMTRAK_SIM_SETTINGS", (folder / "settings.ini").c_str(), 1);

  ASSERT_EQ(init(4, 0), 0);
  EXPECT_EQ(Send(4, {0x20, 0x12, 0x01, 0x00}), (std::vector<unsigned char>{0x90, 0x00})) << "a memory card";
  EXPECT_EQ(Send(4, {0x00, 0xA4, 0x04, 0x0C, 0x06, 0xF0, 0x4B, 0x4C, 0x56, 0x4D, 0x01}, 0),
            (std::vector<unsigned char>{0x90, 0x00}));
  std::ifstream in(folder / "health-insurance.bin", std::ios::binary);
  std::vector<unsigned char> area(std::istreambuf_iterator<char>(in), {});
  area = std::vector<unsigned char>(area.begin() + 0x20, area.begin() + 0x80);
  area.insert(area.end(), {0x90, 0x00});
  EXPECT_EQ(Send(4, {0x00, 0xB0, 0x00, 0x00, 0x00}, 0), area);
  EXPECT_EQ(close(4), 0);

  // Broken on disk: the next CT_init says where.
  std::ofstream(folder / "health-insurance.card") << "[Card]\nKind=memory\nATR=A2\nSize=4\n[Application]\nAID=F0\n";
  EXPECT_EQ(init(4, 0), -8);
  char text[121] = {};
  version(text, 0);
  EXPECT_EQ(std::string(text), "Card file " + (folder / "health-insurance.card").string() +
                                   " line 5: [Application] has no Offset=");
  fs::remove_all(folder);
}

TEST_F(Library, EveryCommandFormOfClients) {
  ASSERT_EQ(init(1, 1), 0);
  // The card's data as RESET ICC gives it, without the status words.
  std::vector<unsigned char> atr = Send(1, {0x20, 0x11, 0x01, 0x01});
  std::vector<unsigned char> historical = Send(1, {0x20, 0x11, 0x01, 0x02});
  ASSERT_GT(atr.size(), 2u);
  ASSERT_GT(historical.size(), 2u);
  atr.resize(atr.size() - 2);
  historical.resize(historical.size() - 2);
  for (const terminal_test::CommandForm& form : terminal_test::CommandForms()) {
    Send(1, {0x20, 0x11, 0x00, 0x00});  // the card in, not activated
    EXPECT_EQ(Send(1, form.command), terminal_test::ExpectedAnswer(form, atr, historical)) << form.what;
  }
  EXPECT_EQ(close(1), 0);
}

TEST_F(Library, ExportsOnlyTheCtApi) {
  EXPECT_EQ(dlsym(handle, "_ZN3sim11TerminalSim4InitEtt"), nullptr);
  EXPECT_EQ(dlsym(handle, "ZemtrakSimReset"), nullptr);
}

}  // namespace
