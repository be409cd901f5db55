// The main window, its menu and the configuration dialogs, from the real resources, on the
// simulated driver.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/AnswerDetails.h"
#include "app/MainFrame.h"
#include "resources/ResourceIds.h"
#include "session/LastExchange.h"
#include "session/LogPath.h"
#include "session/MenuOwnedDialog.h"
#include "session/SessionLog.h"
#include "session/SessionSettings.h"
#include "tests/support/AnswerDetailsWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScriptedPrompt.h"
#include "tests/support/ZemtrakSim.h"
#include "win/Menu.h"

namespace fs = std::filesystem;

namespace {

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings() = {};
    frame_ = std::make_unique<MainFrame>();
    ASSERT_NE(frame_->Handle(), nullptr);
    hwnd_ = frame_->Handle();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
  }
  void TearDown() override {
    if (IsWindow(hwnd_)) SendMessageA(hwnd_, WM_CLOSE, 0, 0);
    frame_.reset();
    PumpMessages();
    Log().Close();
  }

  void Command(UINT id) const { SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  bool ItemGrayed(int popup, int position) const {
    HMENU sub = GetSubMenu(GetMenu(hwnd_), popup);
    SendMessageA(hwnd_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), popup);
    return (GetMenuState(sub, position, MF_BYPOSITION) & MF_GRAYED) != 0;
  }
  HWND Dialog(const char* caption) const { return FindWindowA("#32770", caption); }

  ZemtrakSim sim_;
  std::unique_ptr<MainFrame> frame_;
  HWND hwnd_ = nullptr;
};

}  // namespace

TEST_F(MainFrameTest, CreationParameters) {
  char title[64] = {};
  GetWindowTextA(hwnd_, title, sizeof title);
  EXPECT_STREQ(title, "Test Tovamic ");
  RECT r;
  GetWindowRect(hwnd_, &r);
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right, 590);
  EXPECT_EQ(r.bottom, 340);
  const LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
  for (LONG bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
    EXPECT_EQ(style & bit, bit);
  EXPECT_EQ(GetClassLongPtrA(hwnd_, GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW), CS_HREDRAW | CS_VREDRAW);
  EXPECT_NE(GetClassLongPtrA(hwnd_, GCLP_HICON), 0);
  EXPECT_EQ(GetClassLongPtrA(hwnd_, GCLP_HBRBACKGROUND), COLOR_WINDOW + 1);
}

TEST_F(MainFrameTest, MenuLabelsAndCommandsByPosition) {
  HMENU bar = GetMenu(hwnd_);
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  const struct {
    int popup, position;
    const char* label;
    UINT id;
  } items[] = {
      {0, 0, "CT &Number", ID_CT_NUMBER},     {0, 1, "&Port Number", ID_PORT_NUMBER},
      {1, 0, "CT - &BCS", ID_CT_BCS},         {1, 1, "Te&st CT", ID_TEST_CT},
      {1, 2, "Start &Log-File", ID_LOG_FILE}, {1, 3, "&Answer Details", ID_ANSWER_DETAILS},
  };
  for (const auto& item : items) {
    EXPECT_EQ(PopupItemLabel(hwnd_, item.popup, item.position), item.label);
    EXPECT_EQ(PopupItemId(hwnd_, item.popup, item.position), item.id);
  }
  char label[32] = {};
  GetMenuStringA(bar, 2, label, sizeof label, MF_BYPOSITION);
  EXPECT_STREQ(label, "&Exit");
  EXPECT_EQ(GetMenuItemID(bar, 2), static_cast<UINT>(ID_EXIT));
  EXPECT_FALSE(ItemGrayed(0, 0));
  EXPECT_FALSE(ItemGrayed(0, 1));
  EXPECT_FALSE(ItemGrayed(1, 2));
  EXPECT_FALSE(ItemGrayed(1, 3));
}

TEST_F(MainFrameTest, BannerShowsTheDriverVersionOnEveryPaint) {
  sim_.SetVersion("SIM 9.9");
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
  EXPECT_EQ(frame_->LastBanner()[0], "Tovamic Test Program  V1.67-W32");
  EXPECT_EQ(frame_->LastBanner()[1], "Tovamic DLL SIM 9.9");

  // Each pair shows the exclusive-or of its two bitmaps: the drawing, not either half of it.
  HDC dc = GetDC(hwnd_);
  const struct {
    int x, y;
    COLORREF colour;
  } pixels[] = {
      {60 + 2, 20 + 2, RGB(205, 225, 245)},    // sky behind the terminal
      {60 + 38, 20 + 26, RGB(90, 200, 140)},   // the terminal's display
      {60 + 225, 20 + 40, RGB(225, 180, 60)},  // the card's contacts
      {65 + 2, 90 + 2, RGB(20, 40, 90)},       // the title strip over the lower part
  };
  for (const auto& p : pixels) EXPECT_EQ(GetPixel(dc, p.x, p.y), p.colour) << p.x << "," << p.y;
  ReleaseDC(hwnd_, dc);

  sim_.SetVersion(std::string(120, 'N'));  // no terminating NUL
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
  EXPECT_EQ(frame_->LastBanner()[1], "Tovamic DLL " + std::string(107, 'N'));
}

TEST_F(MainFrameTest, CtNumberDialogTakesOverOrRefusesTheField) {
  Settings().ctn = 3;
  Command(ID_CT_NUMBER);
  EXPECT_EQ(PopupItemId(hwnd_, 0, 0), static_cast<UINT>(ID_INERT));
  EXPECT_TRUE(ItemGrayed(0, 0));
  EXPECT_FALSE(ItemGrayed(0, 1)) << "Port Number stays available";
  HWND dialog = Dialog("CT Number");
  ASSERT_NE(dialog, nullptr);
  HWND field = GetDlgItem(dialog, IDC_CT_NUMBER_FIELD);
  EXPECT_EQ(SendMessageA(field, EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_NE(GetWindowLongA(field, GWL_STYLE) & ES_NUMBER, 0);
  SendMessageA(field, WM_CHAR, 'a', 0);
  EXPECT_EQ(SendMessageA(field, WM_GETTEXTLENGTH, 0, 0), 1) << "a letter cannot be typed";

  auto text = [&] {
    char buffer[16] = {};
    GetWindowTextA(field, buffer, sizeof buffer);
    return std::string(buffer);
  };
  auto press = [&](const char* value, int button) {
    SetWindowTextA(field, value);
    SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
  };
  EXPECT_EQ(text(), "3");

  press("65535", IDOK);
  EXPECT_EQ(Settings().ctn, 65535);
  EXPECT_TRUE(IsWindow(dialog)) << "OK leaves the dialog open";

  press("7", IDOK);
  EXPECT_EQ(Settings().ctn, 7);
  const struct {
    const char* text;
    int button;
  } refused[] = {{"70000", IDOK}, {"65536", IDCANCEL}, {"", IDOK},
                 {"", IDCANCEL},  {"-1", IDOK},        {"x", IDCANCEL}};
  for (const auto& r : refused) {
    press(r.text, r.button);
    EXPECT_EQ(Settings().ctn, 7) << r.text;
    EXPECT_EQ(text(), "3") << "the value from the opening comes back, not the last one taken";
    EXPECT_TRUE(IsWindow(dialog)) << r.text;
  }

  press("00012", IDCANCEL);
  EXPECT_EQ(Settings().ctn, 12);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(PopupItemId(hwnd_, 0, 0), static_cast<UINT>(ID_CT_NUMBER));
  EXPECT_EQ(PopupItemLabel(hwnd_, 0, 0), "CT &Number");
  EXPECT_FALSE(ItemGrayed(0, 0));
}

TEST_F(MainFrameTest, CtNumberEscapeAndEnter) {
  Command(ID_CT_NUMBER);
  HWND dialog = Dialog("CT Number");
  ASSERT_NE(dialog, nullptr);
  HWND field = GetDlgItem(dialog, IDC_CT_NUMBER_FIELD);
  SetWindowTextA(field, "44");
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);  // Enter
  EXPECT_EQ(Settings().ctn, 44);
  EXPECT_TRUE(IsWindow(dialog));
  SendMessageA(dialog, WM_CLOSE, 0, 0);  // the close box posts IDCANCEL, like Escape
  PumpMessages();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(PopupItemId(hwnd_, 0, 0), static_cast<UINT>(ID_CT_NUMBER));
}

TEST_F(MainFrameTest, PortNumberDialogSetsPtnAtOnce) {
  Settings().ptn = 5;
  Command(ID_PORT_NUMBER);
  EXPECT_EQ(PopupItemId(hwnd_, 0, 1), static_cast<UINT>(ID_INERT));
  EXPECT_FALSE(ItemGrayed(0, 0)) << "CT Number stays available";
  HWND dialog = Dialog("Port Number");
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, IDC_PORT_LIST);
  const char* entries[] = {" 0 (auto)", " 1 (300)", " 2 (320)", " 3 (340)",
                           " 4 (360)",  " 5 (380)", " 6 (3A0)", " 7 (3C0)"};
  ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 8);
  for (int i = 0; i < 8; ++i) {
    char entry[32] = {};
    SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, entries[i]);
  }
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 5);

  SendMessageA(list, CB_SETCURSEL, 3, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PORT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(Settings().ptn, 3);

  SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(Settings().ptn, 3);
  EXPECT_EQ(PopupItemId(hwnd_, 0, 1), static_cast<UINT>(ID_PORT_NUMBER));
  EXPECT_EQ(PopupItemLabel(hwnd_, 0, 1), "&Port Number");
}

TEST_F(MainFrameTest, PortNumberEnterClosesAndGivesTheItemBack) {
  Command(ID_PORT_NUMBER);
  HWND dialog = Dialog("Port Number");
  ASSERT_NE(dialog, nullptr);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
  PumpMessages();
  EXPECT_FALSE(IsWindow(dialog)) << "destroyed, not hidden";
  EXPECT_EQ(PopupItemId(hwnd_, 0, 1), static_cast<UINT>(ID_PORT_NUMBER));
}

TEST_F(MainFrameTest, ClosingTheMainWindowTakesOpenDialogsAlong) {
  Command(ID_CT_NUMBER);
  Command(ID_PORT_NUMBER);
  HWND ct = Dialog("CT Number");
  HWND port = Dialog("Port Number");
  ASSERT_TRUE(ct && port);
  SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  PumpMessages();
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_FALSE(IsWindow(ct));
  EXPECT_FALSE(IsWindow(port));
}

TEST_F(MainFrameTest, BcsPanelHoldsBothPanelItemsUntilItCloses) {
  auto expectItems = [&](bool panelOpen, const char* when) {
    for (const MenuItemSpec& item : kPanelItems) {
      EXPECT_EQ(PopupItemLabel(hwnd_, item.popup, item.position), item.label) << when;
      EXPECT_EQ(PopupItemId(hwnd_, item.popup, item.position), panelOpen ? UINT{ID_INERT} : item.id) << when;
      // An item is usable when it is given back only if its own window can be opened by now.
      EXPECT_EQ(ItemGrayed(item.popup, item.position), panelOpen || !frame_->HasCommandHandler(item.id))
          << item.label << " " << when;
    }
  };
  const struct {
    const char* way;
    void (*close)(HWND panel);
  } ways[] = {
      {"Close button", [](HWND panel) { SendMessageA(GetDlgItem(panel, IDCANCEL), BM_CLICK, 0, 0); }},
      {"close box", [](HWND panel) { SendMessageA(panel, WM_CLOSE, 0, 0); }},
      {"Escape",
       [](HWND panel) { PostMessageA(GetDlgItem(panel, IDC_BCS_CT_INIT), WM_KEYDOWN, VK_ESCAPE, 0); }},
  };
  ASSERT_TRUE(frame_->HasCommandHandler(ID_CT_BCS));
  for (const auto& way : ways) {
    expectItems(false, "before opening");
    Command(ID_CT_BCS);
    HWND panel = Dialog("CT - BCS ");
    ASSERT_NE(panel, nullptr);
    expectItems(true, "while open");
    way.close(panel);
    PumpMessages();
    EXPECT_FALSE(IsWindow(panel)) << way.way;
    expectItems(false, way.way);
  }
}

namespace {

class MainFrameLogTest : public MainFrameTest {
 protected:
  void SetUp() override {
    MainFrameTest::SetUp();
    dir_ = fs::temp_directory_path() / "kelvanor-mainframe-log";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    Log().SetPath(BuildLogPath(dir_.string()));
  }
  void TearDown() override {
    MainFrameTest::TearDown();
    fs::remove_all(dir_);
  }
  std::string Contents() const {
    std::ifstream in(Log().Path(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::string LogItem() const { return PopupItemLabel(hwnd_, 1, 2); }

  ScriptedPrompt prompt_;
  fs::path dir_;
};

}  // namespace

TEST_F(MainFrameLogTest, StartContinueEmptyAndClose) {
  Command(ID_LOG_FILE);
  EXPECT_TRUE(prompt_.Messages().empty()) << "a new file needs no question";
  EXPECT_EQ(LogItem(), "Close &Log-File");
  EXPECT_EQ(PopupItemId(hwnd_, 1, 2), static_cast<UINT>(ID_LOG_FILE));
  Log().Write("CT_init (CTn: 0, PTn: 0)\n");
  Command(ID_LOG_FILE);
  EXPECT_EQ(LogItem(), "Start &Log-File");
  Log().Write("not logged\n");

  prompt_.AnswerMessage(IDYES);
  Command(ID_LOG_FILE);
  ASSERT_EQ(prompt_.Messages().size(), 1u);
  const AskedMessage& asked = prompt_.Messages()[0];
  EXPECT_EQ(asked.text, "Continue the existing file KELVAN.LOG?");
  EXPECT_EQ(asked.caption, "Kelvanor");
  EXPECT_EQ(asked.icon, static_cast<UINT>(MB_ICONQUESTION));
  EXPECT_EQ(asked.buttons, static_cast<UINT>(MB_YESNO));
  Log().Write(">-1 (ERR_INVALID) \n");
  EXPECT_EQ(Contents(), "CT_init (CTn: 0, PTn: 0)\r\n>-1 (ERR_INVALID) \r\n");

  Command(ID_LOG_FILE);
  prompt_.AnswerMessage(IDNO);
  Command(ID_LOG_FILE);
  EXPECT_EQ(Contents(), "");
  EXPECT_EQ(LogItem(), "Close &Log-File");
}

TEST_F(MainFrameLogTest, OpenErrorNamesTheUpperCasePathAndLoggingStaysOff) {
  Log().SetPath(BuildLogPath((dir_ / "gone").string()));
  prompt_.AnswerMessage(IDOK);
  Command(ID_LOG_FILE);
  ASSERT_EQ(prompt_.Messages().size(), 1u);
  EXPECT_EQ(prompt_.Messages()[0].text, "Error during open file: " + Log().Path());
  EXPECT_NE(Log().Path().find("\\GONE\\KELVAN.LOG"), std::string::npos);
  EXPECT_EQ(prompt_.Messages()[0].icon, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(prompt_.Messages()[0].buttons, static_cast<UINT>(MB_OK));
  EXPECT_FALSE(Log().Enabled());
  EXPECT_EQ(LogItem(), "Start &Log-File");
}

TEST_F(MainFrameLogTest, ExitWithTheLogOpenClosesItAndAsksNothing) {
  Command(ID_LOG_FILE);
  Log().Write("last line\n");
  Command(ID_EXIT);
  PumpMessages();
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_FALSE(Log().Enabled());
  EXPECT_FALSE(Log().IsOpen());
  EXPECT_TRUE(prompt_.Messages().empty());
  EXPECT_EQ(Contents(), "last line\r\n");
}

// Both panel items as the console takes them and gives them back, however it is closed. An item
// shows greyed while it carries the inert command, or while no handler exists for it yet.
TEST_F(MainFrameTest, ConsoleTakesBothPanelItemsAndGivesThemBack) {
  auto expectItemsUsable = [&](const char* when) {
    for (const MenuItemSpec& item : kPanelItems) {
      EXPECT_EQ(PopupItemLabel(hwnd_, item.popup, item.position), item.label) << when;
      EXPECT_EQ(PopupItemId(hwnd_, item.popup, item.position), item.id) << when;
      EXPECT_EQ(ItemGrayed(item.popup, item.position), !frame_->HasCommandHandler(item.id))
          << item.label << " " << when;
    }
    EXPECT_FALSE(ItemGrayed(1, 1)) << "Te&st CT " << when;
  };
  const struct {
    const char* how;
    void (*close)(HWND console);
  } closings[] = {
      {"by the Close button", [](HWND c) { SendMessageA(GetDlgItem(c, IDCANCEL), BM_CLICK, 0, 0); }},
      {"by Escape", [](HWND c) { SendMessageA(c, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); }},
      {"by the close box", [](HWND c) { SendMessageA(c, WM_CLOSE, 0, 0); }},
  };
  expectItemsUsable("before opening");
  for (const auto& closing : closings) {
    Command(ID_TEST_CT);
    HWND console = Dialog("Test Tovamic");
    ASSERT_NE(console, nullptr);
    for (const MenuItemSpec& item : kPanelItems) {
      EXPECT_EQ(PopupItemLabel(hwnd_, item.popup, item.position), item.label);
      EXPECT_EQ(PopupItemId(hwnd_, item.popup, item.position), static_cast<UINT>(ID_INERT));
      EXPECT_TRUE(ItemGrayed(item.popup, item.position)) << item.label << " while the console is open";
    }
    closing.close(console);
    PumpMessages();
    EXPECT_FALSE(IsWindow(console)) << closing.how;
    expectItemsUsable(closing.how);
  }
}

// A window that cannot be created gives its menu items back at once.
TEST_F(MainFrameTest, MenuItemsComeBackWhenTheirDialogCannotBeCreated) {
  constexpr int kNoSuchTemplate = 9999;
  for (MenuItems items : {MenuItems(kCtNumberItems), MenuItems(kPortNumberItems), MenuItems(kPanelItems),
                          MenuItems(kAnswerDetailsItems)}) {
    EXPECT_FALSE(MenuOwnedDialog::Open(std::make_unique<MenuOwnedDialog>(kNoSuchTemplate, hwnd_, items)));
    for (const MenuItemSpec& item : items) {
      EXPECT_EQ(PopupItemId(hwnd_, item.popup, item.position), item.id) << item.label;
      EXPECT_EQ(PopupItemLabel(hwnd_, item.popup, item.position), item.label);
    }
  }
}

// The window explains what the record holds now and each exchange after, in a fixed-pitch text
// that can be selected and copied; it writes nothing to the log and holds its own item only.
TEST_F(MainFrameLogTest, AnswerDetailsFollowsEachExchangeAndWritesNoLog) {
  Exchanges() = LastExchange();
  Command(ID_LOG_FILE);
  Command(ID_ANSWER_DETAILS);
  HWND details = AnswerDetailsWindow();
  ASSERT_NE(details, nullptr);
  EXPECT_EQ(GetParent(details), hwnd_) << "owned by the main window";
  EXPECT_TRUE(IsWindowVisible(details));
  EXPECT_EQ(PopupItemId(hwnd_, 1, 3), static_cast<UINT>(ID_INERT));
  EXPECT_TRUE(ItemGrayed(1, 3));
  EXPECT_FALSE(ItemGrayed(1, 1)) << "the panels stay available";
  EXPECT_EQ(PopupItemLabel(hwnd_, 1, 2), "Close &Log-File");
  EXPECT_EQ(AnswerDetailsShown(), kNoExchangeYet);

  HWND text = GetDlgItem(details, IDC_ANSWER_DETAILS_TEXT);
  const LONG style = GetWindowLongA(text, GWL_STYLE);
  for (LONG bit : {ES_MULTILINE, ES_READONLY, WS_VSCROLL}) EXPECT_EQ(style & bit, bit);
  EXPECT_NE(GetWindowLongA(details, GWL_STYLE) & WS_THICKFRAME, 0) << "resizable";
  HDC dc = GetDC(text);
  HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0)));
  SIZE narrow, wide;
  GetTextExtentPoint32A(dc, "iiii", 4, &narrow);
  GetTextExtentPoint32A(dc, "WWWW", 4, &wide);
  EXPECT_EQ(narrow.cx, wide.cx) << "fixed pitch, so the fields stand in columns";
  SelectObject(dc, font);
  ReleaseDC(text, dc);

  const std::vector<std::uint8_t> command = {0x00, 0xA4, 0x04, 0x00, 0x02, 0x3F, 0x00};
  Exchanges().Record({ExchangePanel::TestConsole, 0, 2, 0, command, 0, {0x6A, 0x82}});
  EXPECT_EQ(AnswerDetailsShown(), AnswerDetailsText(Exchanges().Last()));
  EXPECT_NE(AnswerDetailsShown().find("File or application not found"), std::string::npos);
  // The console's longest answer explained runs past an edit control's 32 K default limit.
  std::vector<std::uint8_t> longest(4096, 0x41);
  longest[4094] = 0x90;
  longest[4095] = 0x00;
  Exchanges().Record({ExchangePanel::TestConsole, 0, 2, 0, command, 0, longest});
  EXPECT_GT(AnswerDetailsShown().size(), 32768u);
  EXPECT_EQ(AnswerDetailsShown(), AnswerDetailsText(Exchanges().Last()));

  // The text fills the window at every size.
  SetWindowPos(details, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
  RECT client, textRect;
  GetClientRect(details, &client);
  GetWindowRect(text, &textRect);
  EXPECT_EQ(textRect.right - textRect.left, client.right);
  EXPECT_EQ(textRect.bottom - textRect.top, client.bottom);

  SendMessageA(text, EM_SETSEL, 0, -1);
  SendMessageA(text, WM_COPY, 0, 0);
  ASSERT_TRUE(OpenClipboard(hwnd_));
  HANDLE copied = GetClipboardData(CF_TEXT);
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(copied))), AnswerDetailsShown());
  GlobalUnlock(copied);
  CloseClipboard();

  PostMessageA(text, WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  ASSERT_TRUE(IsWindow(details)) << "Enter does not close it";
  PostMessageA(text, WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_FALSE(IsWindow(details)) << "Escape does";
  EXPECT_EQ(PopupItemId(hwnd_, 1, 3), static_cast<UINT>(ID_ANSWER_DETAILS));
  EXPECT_FALSE(ItemGrayed(1, 3));
  Exchanges().Record({ExchangePanel::CtBcs, 1, 2, 1, command, -8, {}});  // nobody follows now
  EXPECT_EQ(Contents(), "");
}
