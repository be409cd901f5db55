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

// A file beside the DLL for the life of the object: ZEMTRAK.INI unless named otherwise.
class SettingsFile {
 public:
  explicit SettingsFile(const std::string& text, const char* name = "ZEMTRAK.INI") {
    char dll[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleA("ZEMTRAK.DLL"), dll, MAX_PATH);
    path_ = fs::path(dll).parent_path() / name;
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~SettingsFile() { fs::remove(path_); }
  const fs::path& Path() const { return path_; }

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

// Picks a card in the window's chooser as a mouse would, with the notification.
void Choose(HWND window, int index) {
  HWND chooser = GetDlgItem(window, 103);
  SendMessageA(chooser, CB_SETCURSEL, index, 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(103, CBN_SELCHANGE), reinterpret_cast<LPARAM>(chooser));
}

std::string Entry(HWND chooser, int index) {
  char text[256] = {};
  if (SendMessageA(chooser, CB_GETLBTEXTLEN, index, 0) >= static_cast<LRESULT>(sizeof text))
    return "(too long)";
  SendMessageA(chooser, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string StateText(HWND window) {
  char text[512] = {};
  GetWindowTextA(GetDlgItem(window, 100), text, sizeof text);
  return text;
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
  HWND remove = GetDlgItem(window, 102), insert = GetDlgItem(window, 101), chooser = GetDlgItem(window, 103);
  ASSERT_TRUE(remove && insert && chooser);

  SendMessageA(remove, BM_CLICK, 0, 0);
  EXPECT_EQ(Send(2, {0x20, 0x13, 0x00, 0x80}), (std::vector<std::uint8_t>{0x00, 0x90, 0x00}));

  // The person acts while this thread is blocked in CT_data.
  std::thread person([&] {
    std::this_thread::sleep_for(300ms);
    Choose(window, 1);  // the built-in memory card
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

TEST(ZemtrakDll, TheWindowListsTheCardFilesAndInsertsTheChosenOne) {
  ZemtrakSim sim;
  SetEnvironmentVariableA("ZEMTRAK_SIM_WINDOW", nullptr);
  SettingsFile card("[Card]\r\nName=Test card\r\nKind=processor\r\nATR=3B 02 4B 4C\r\n", "zemtrak-test.card");
  SettingsFile ini("[Card]\r\nFile=zemtrak-test.card\r\nInserted=0\r\n");
  ASSERT_EQ(Driver().init(4, 0), 0);
  HWND window = ControlWindow();
  ASSERT_NE(window, nullptr);
  HWND chooser = GetDlgItem(window, 103), insert = GetDlgItem(window, 101);
  ASSERT_TRUE(WaitFor([&] { return SendMessageA(chooser, CB_GETCOUNT, 0, 0) == 3; }));
  EXPECT_EQ(Entry(chooser, 0), "Processor card (asynchronous)");
  EXPECT_EQ(Entry(chooser, 2), "Test card");
  EXPECT_EQ(Send(4, {0x20, 0x13, 0x00, 0x80}), (std::vector<std::uint8_t>{0x00, 0x90, 0x00}));

  Choose(window, 2);
  ASSERT_TRUE(IsWindowEnabled(insert));
  SendMessageA(insert, BM_CLICK, 0, 0);
  EXPECT_EQ(Send(4, {0x20, 0x12, 0x01, 0x01}),
            (std::vector<std::uint8_t>{0x3B, 0x02, 0x4B, 0x4C, 0x90, 0x01}));
  EXPECT_TRUE(WaitFor([&] {
    return StateText(window).find("Card: Test card (processor card, T=0), activated") != std::string::npos;
  })) << StateText(window);
  EXPECT_EQ(Driver().close(4), 0);

  // A fault in the file: CT_init fails, and the window and CT_version say where.
  std::ofstream(card.Path(), std::ios::binary) << "[Card]\r\nKind=processor\r\nATR=3B 02 4B\r\n";
  EXPECT_EQ(Driver().init(4, 0), -8);
  const std::string fault = "line 3: ATR: Cut short: 2 historical bytes announced, 1 present";
  char version[121] = {};
  Driver().version(version, 0);
  EXPECT_TRUE(std::string(version).starts_with("Card file ")) << version;
  EXPECT_TRUE(std::string(version).ends_with("zemtrak-test.card " + fault)) << version;
  EXPECT_TRUE(WaitFor([&] { return StateText(window).find(fault) != std::string::npos; }))
      << StateText(window);
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
