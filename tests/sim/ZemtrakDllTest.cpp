// ZEMTRAK.DLL itself under Wine: its settings file beside it, and its control window, through
// which a person inserts the card a waiting Request ICC gets.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "ctapi/ZemtrakDriver.h"
#include "tests/support/ZemtrakSim.h"
#include "tests/terminal/CommandForms.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const CtDriver& Driver() { return ZemtrakDriver(); }

std::vector<std::uint8_t> Send(std::uint16_t ctn, std::vector<std::uint8_t> command) {
  std::uint8_t dad = 1, sad = 2;
  unsigned short lenr = 512;
  std::vector<std::uint8_t> response(lenr);
  const int rc = Driver().data(ctn, &dad, &sad, static_cast<unsigned short>(command.size()), command.data(),
                               &lenr, response.data());
  EXPECT_EQ(rc, 0);
  response.resize(rc == 0 ? lenr : 0);
  return response;
}

// ZEMTRAK.INI beside the DLL for the life of the object.
class SettingsFile {
 public:
  explicit SettingsFile(const char* text) {
    char dll[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleA("ZEMTRAK.DLL"), dll, MAX_PATH);
    path_ = fs::path(dll).parent_path() / "ZEMTRAK.INI";
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~SettingsFile() { fs::remove(path_); }

 private:
  fs::path path_;
};

template <class F>
auto WaitFor(F condition) {
  auto value = condition();
  for (int i = 0; i < 250 && !value; ++i) {
    std::this_thread::sleep_for(20ms);
    value = condition();
  }
  return value;
}

// The control window once its controls are there.
HWND ControlWindow() {
  return WaitFor([]() -> HWND {
    HWND w = FindWindowA("ZemtrakSimControl", "Simulated card terminal");
    return w && GetDlgItem(w, 105) ? w : nullptr;
  });
}

TEST(ZemtrakDll, ReadsItsSettingsFileAtEachInit) {
  ZemtrakSim sim;
  {
    SettingsFile ini("[Card]\r\nType=sync\r\n[Terminal]\r\nPort=4\r\nManufacturer=DEXYZ\r\n");
    EXPECT_EQ(Driver().init(1, 1), -8) << "the terminal now sits on port 4";
    ASSERT_EQ(Driver().init(1, 4), 0);
    EXPECT_EQ(Send(1, {0x20, 0x10, 0x01, 0x01, 0x00}),
              (std::vector<std::uint8_t>{0xA2, 0x13, 0x10, 0x91, 0x90, 0x00}));
    const auto info = Send(1, {0x20, 0x13, 0x00, 0x46});
    EXPECT_EQ(std::string(info.begin(), info.end() - 2), "DEXYZ          ");
    EXPECT_EQ(Driver().close(1), 0);
  }
  {
    SettingsFile ini("this is [not an INI file\r\n\x01\x02\r\n");
    ASSERT_EQ(Driver().init(1, 1), 0) << "malformed: the defaults";
    EXPECT_EQ(Send(1, {0x20, 0x13, 0x00, 0x80}), (std::vector<std::uint8_t>{0x03, 0x90, 0x00}));
    EXPECT_EQ(Driver().close(1), 0);
  }
}

TEST(ZemtrakDll, EveryCommandFormOfClients) {
  ZemtrakSim sim;
  ASSERT_EQ(Driver().init(1, 1), 0);
  // The card's data as RESET ICC gives it, without the status words.
  std::vector<std::uint8_t> atr = Send(1, {0x20, 0x11, 0x01, 0x01});
  std::vector<std::uint8_t> historical = Send(1, {0x20, 0x11, 0x01, 0x02});
  ASSERT_GT(atr.size(), 2u);
  ASSERT_GT(historical.size(), 2u);
  atr.resize(atr.size() - 2);
  historical.resize(historical.size() - 2);
  for (const terminal_test::CommandForm& form : terminal_test::CommandForms()) {
    Send(1, {0x20, 0x11, 0x00, 0x00});  // the card in, not activated
    EXPECT_EQ(Send(1, form.command), terminal_test::ExpectedAnswer(form, atr, historical)) << form.what;
  }
  EXPECT_EQ(Driver().close(1), 0);
}

TEST(ZemtrakDll, RequestIccWaitsForACardInsertedThroughTheWindow) {
  ZemtrakSim sim;
  SetEnvironmentVariableA("ZEMTRAK_SIM_WINDOW", nullptr);
  ASSERT_EQ(Driver().init(2, 0), 0);
  HWND window = ControlWindow();
  ASSERT_NE(window, nullptr) << "the control window did not open";
  HWND remove = GetDlgItem(window, 102), insert = GetDlgItem(window, 101), memory = GetDlgItem(window, 104);
  ASSERT_TRUE(remove && insert && memory);

  SendMessageA(remove, BM_CLICK, 0, 0);
  EXPECT_EQ(Send(2, {0x20, 0x13, 0x00, 0x80}), (std::vector<std::uint8_t>{0x00, 0x90, 0x00}));

  // The person acts while this thread is blocked in CT_data.
  std::thread person([&] {
    std::this_thread::sleep_for(300ms);
    SendMessageA(memory, BM_CLICK, 0, 0);
    SendMessageA(insert, BM_CLICK, 0, 0);
  });
  const auto start = std::chrono::steady_clock::now();
  const auto answer = Send(2, {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, 0x14});
  const auto waited = std::chrono::steady_clock::now() - start;
  person.join();
  EXPECT_EQ(answer, (std::vector<std::uint8_t>{0xA2, 0x13, 0x10, 0x91, 0x90, 0x00}));
  EXPECT_GE(waited, 250ms);
  EXPECT_LT(waited, 15s) << "answered on insertion, not after the twenty seconds";

  char text[256] = {};
  EXPECT_TRUE(WaitFor([&] {
    GetWindowTextA(GetDlgItem(window, 100), text, sizeof text);
    return std::string(text).find("memory card (synchronous), activated") != std::string::npos;
  })) << text;
  EXPECT_EQ(Driver().close(2), 0);
}

TEST(ZemtrakDll, TheWindowClosesASessionLeftOpen) {
  ZemtrakSim sim;
  SetEnvironmentVariableA("ZEMTRAK_SIM_WINDOW", nullptr);
  ASSERT_EQ(Driver().init(3, 0), 0);
  EXPECT_EQ(Driver().init(3, 0), -1);
  HWND window = ControlWindow();
  ASSERT_NE(window, nullptr);
  HWND reset = GetDlgItem(window, 105);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(reset); }));
  SendMessageA(reset, BM_CLICK, 0, 0);
  EXPECT_EQ(Driver().init(3, 0), 0);
  EXPECT_EQ(Driver().close(3), 0);
}

}  // namespace
