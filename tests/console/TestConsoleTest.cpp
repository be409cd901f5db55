// The test console from the real template, over the main window, on the simulated driver (its
// CT_init and CT_close steered by the test).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>

#include "app/AnswerDetails.h"
#include "app/MainFrame.h"
#include "console/CommandLists.h"
#include "console/ConsoleState.h"
#include "console/TestConsoleDialog.h"
#include "ctapi/ZemtrakDriver.h"
#include "resources/ResourceIds.h"
#include "session/LastExchange.h"
#include "session/LogPath.h"
#include "session/SessionLog.h"
#include "session/SessionSettings.h"
#include "tests/support/AnswerDetailsWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ModalScript.h"
#include "tests/support/ScriptedPrompt.h"
#include "tests/support/ZemtrakSim.h"
#include "win/Menu.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

// CT_init and CT_close answer what the test sets; CT_data goes to the simulated terminal.
struct SteeredDriver {
  static inline int initRc = 0;
  static inline int closeRc = 0;
  static inline int closeCalls = 0;
  static signed char CTAPI_CALL Init(unsigned short, unsigned short) {
    return static_cast<signed char>(initRc);
  }
  static signed char CTAPI_CALL Close(unsigned short) {
    ++closeCalls;
    return static_cast<signed char>(closeRc);
  }
  static const CtDriver& Driver() {
    static const CtDriver driver{&Init, &Close, ZemtrakDriver().data, ZemtrakDriver().version};
    return driver;
  }
};

constexpr char kIconReady[] = "WIN_FORMAT_ICON1";
constexpr char kIconFailed[] = "WIN_FORMAT_ICON2";
constexpr char kIconSucceeded[] = "WIN_FORMAT_ICON3";

class TestConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings() = {};
    SteeredDriver::initRc = SteeredDriver::closeRc = SteeredDriver::closeCalls = 0;
    frame_ = std::make_unique<MainFrame>();
    main_ = frame_->Handle();
    ASSERT_NE(main_, nullptr);
    dir_ = fs::temp_directory_path() / "kelvanor-console";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    Log().SetPath(BuildLogPath(dir_.string()));
  }
  void TearDown() override {
    if (IsWindow(main_)) SendMessageA(main_, WM_CLOSE, 0, 0);
    frame_.reset();
    PumpMessages();
    Log().Close();
    fs::remove_all(dir_);
  }

  void Open() {
    ASSERT_TRUE(MenuOwnedDialog::Open(std::make_unique<TestConsoleDialog>(main_, SteeredDriver::Driver())));
    console_ = FindWindowA("#32770", "Test Tovamic");
    ASSERT_NE(console_, nullptr);
  }
  void StartLog() { SendMessageA(main_, WM_COMMAND, ID_LOG_FILE, 0); }
  std::string LogContents() const {
    std::ifstream in(Log().Path(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  void Click(int id) const {
    HWND button = GetDlgItem(console_, id);
    ASSERT_TRUE(IsWindowEnabled(button)) << "button " << id << " is disabled";
    SendMessageA(button, BM_CLICK, 0, 0);
  }
  // One digit per button: CT_init CT_close CT_data Reset CT Reset ICC OpenFile Modify List Next Close.
  std::string Buttons() const {
    std::string state;
    for (int id : {IDC_CONSOLE_CT_INIT, IDC_CONSOLE_CT_CLOSE, IDC_CONSOLE_CT_DATA, IDC_CONSOLE_RESET_CT,
                   IDC_CONSOLE_RESET_ICC, IDC_CONSOLE_OPEN_FILE, IDC_CONSOLE_MODIFY_LIST,
                   IDC_CONSOLE_NEXT_COMMAND, IDCANCEL})
      state += IsWindowEnabled(GetDlgItem(console_, id)) ? '1' : '0';
    return state;
  }
  std::string Text(int id) const {
    HWND item = GetDlgItem(console_, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
    return text;
  }
  std::string Output() const { return Text(IDC_CONSOLE_OUTPUT); }
  bool IconIs(const char* name) const {
    return SendDlgItemMessageA(console_, IDC_CONSOLE_STATUS_ICON, STM_GETICON, 0, 0) ==
           reinterpret_cast<LRESULT>(LoadIconA(GetModuleHandleA(nullptr), name));
  }
  HWND EditOf(int combo) const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(GetDlgItem(console_, combo), &info);
    return info.hwndItem;
  }
  // Types into the command field as the keyboard would.
  void Type(const std::string& text) const {
    HWND edit = EditOf(IDC_CONSOLE_COMMANDS);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
  }
  void Pick(int list, int index) const {
    SendDlgItemMessageA(console_, list, CB_SETCURSEL, index, 0);
    SendMessageA(console_, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(console_, list)));
  }
  std::string ListEntry(int list, int index) const {
    char entry[256] = {};
    SendDlgItemMessageA(console_, list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry));
    return entry;
  }
  int Selection(int list) const {
    return static_cast<int>(SendDlgItemMessageA(console_, list, CB_GETCURSEL, 0, 0));
  }
  Bytes LastSent() const {
    SentCommand sent;
    return sim_.LastCommand(sent) ? sent.bytes : Bytes{0xDE, 0xAD};
  }
  void Answer(Bytes response, int rc = 0, int reportedLength = -1) const {
    sim_.Queue({rc, std::move(response), 2, 1, reportedLength});
  }
  // CT_init and Reset CT: CT_data and the lists' buttons become usable.
  void OpenTerminal() {
    Click(IDC_CONSOLE_CT_INIT);
    Answer({0x90, 0x00});
    Click(IDC_CONSOLE_RESET_CT);
  }
  void Scroll(WORD code, WORD thumb = 0) const {
    SendMessageA(console_, WM_VSCROLL, MAKEWPARAM(code, thumb),
                 reinterpret_cast<LPARAM>(GetDlgItem(console_, IDC_CONSOLE_OUTPUT_SCROLL)));
  }
  void FillLists(int count) const {
    CommandLists& lists = ConsoleLists();
    for (int i = 0; i < count; ++i) {
      lists.commands[i] = "2,1 2011000" + std::to_string(i);
      lists.descriptions[i] = "description " + std::to_string(i);
    }
    lists.commandCount = lists.descriptionCount = static_cast<std::int16_t>(count);
  }
  // Modify List, with the editor closed by the given button as soon as it shows.
  void ModifyList(int closeWith = IDOK) {
    WhenDialogShows("Modify command list",
                    [closeWith](HWND editor) { SendDlgItemMessageA(editor, closeWith, BM_CLICK, 0, 0); });
    Click(IDC_CONSOLE_MODIFY_LIST);
    EXPECT_TRUE(DialogStepsRan());
  }
  // OpenFile on a file with these bytes, confirmed in the Open dialog.
  std::string OpenRequestFile(const std::string& bytes) {
    const std::string path = (dir_ / "list.req").string();
    std::ofstream(path, std::ios::binary) << bytes;
    prompt_.AnswerFile(path);
    Click(IDC_CONSOLE_OPEN_FILE);
    return path;
  }

  ZemtrakSim sim_;
  ScriptedPrompt prompt_;
  std::unique_ptr<MainFrame> frame_;
  HWND main_ = nullptr;
  HWND console_ = nullptr;
  fs::path dir_;
};

}  // namespace

TEST_F(TestConsoleTest, OpensWithOnlyTheSessionStartUsable) {
  Settings() = {1, 2};
  Open();
  char title[32] = {};
  GetWindowTextA(console_, title, sizeof title);
  EXPECT_STREQ(title, "Test Tovamic");
  EXPECT_EQ(Text(IDC_CONSOLE_CONFIG_LABEL), "CTn: 1, PTn: 2");
  EXPECT_EQ(Output(), "");
  EXPECT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_STATUS_ICON, STM_GETICON, 0, 0), 0);
  HMODULE module = GetModuleHandleA(nullptr);
  const HICON icons[] = {LoadIconA(module, kIconReady), LoadIconA(module, kIconFailed),
                         LoadIconA(module, kIconSucceeded)};
  EXPECT_TRUE(icons[0] && icons[1] && icons[2] && icons[0] != icons[1] && icons[1] != icons[2]);
  EXPECT_EQ(Buttons(), "100000001");
  for (int id : {IDC_CONSOLE_DISPLAY_MODE, IDC_CONSOLE_COMMANDS, IDC_CONSOLE_DESCRIPTIONS})
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(console_, id))) << id;
  EXPECT_EQ(Text(IDC_CONSOLE_DISPLAY_MODE), "Hex");
  for (int id : {IDC_CONSOLE_COMMANDS, IDC_CONSOLE_DESCRIPTIONS}) {
    EXPECT_EQ(SendMessageA(EditOf(id), EM_GETLIMITTEXT, 0, 0), 1000);
    EXPECT_EQ(SendDlgItemMessageA(console_, id, CB_GETCOUNT, 0, 0), 0);
    const LONG style = GetWindowLongA(GetDlgItem(console_, id), GWL_STYLE);
    EXPECT_EQ(style & 3, CBS_DROPDOWN);
    EXPECT_EQ(style & CBS_SORT, 0);
    EXPECT_NE(style & CBS_AUTOHSCROLL, 0);
  }
  int low = -1, high = -1;
  GetScrollRange(GetDlgItem(console_, IDC_CONSOLE_OUTPUT_SCROLL), SB_CTL, &low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 10);
  EXPECT_NE(GetWindowLongA(GetDlgItem(console_, IDC_CONSOLE_OUTPUT), GWL_STYLE) & SS_NOPREFIX, 0);
  EXPECT_EQ(PopupItemId(main_, 1, 0), static_cast<UINT>(ID_INERT));
  EXPECT_EQ(PopupItemId(main_, 1, 1), static_cast<UINT>(ID_INERT));
}

TEST_F(TestConsoleTest, UsualCourseWithTheLog) {
  Settings() = {1, 2};
  Open();
  StartLog();
  Click(IDC_CONSOLE_CT_INIT);
  EXPECT_EQ(Output(), "CT_init ok");
  EXPECT_TRUE(IconIs(kIconSucceeded));
  EXPECT_EQ(Buttons(), "010100000");

  Answer({0x90, 0x00});
  Click(IDC_CONSOLE_RESET_CT);
  EXPECT_EQ(LastSent(), (Bytes{0x20, 0x10, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Output(), "1,2    90 00 ");
  EXPECT_TRUE(IconIs(kIconSucceeded));
  EXPECT_EQ(Buttons(), "011111100") << "Next Command waits for a request file";
  EXPECT_EQ(Text(IDC_CONSOLE_COMMANDS), "2,1    2010000000");
  EXPECT_EQ(Text(IDC_CONSOLE_DESCRIPTIONS), "Reset CT");

  sim_.Reset();
  Answer({0x90, 0x00});
  Click(IDC_CONSOLE_CT_DATA);  // sends the reset again through the typed path
  EXPECT_EQ(LastSent(), (Bytes{0x20, 0x10, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Text(IDC_CONSOLE_DESCRIPTIONS), " ");

  Answer({0x90, 0x00});
  Type("2,1 20110000");
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_EQ(LastSent(), (Bytes{0x20, 0x11, 0x00, 0x00}));
  EXPECT_EQ(Output(), "1,2    90 00 ");
  EXPECT_EQ(Buttons(), "011111100");

  Click(IDC_CONSOLE_CT_CLOSE);
  EXPECT_EQ(Output(), "CT_close ok");
  EXPECT_EQ(Buttons(), "100000001");
  EXPECT_EQ(LogContents(),
            "CT_init (CTn: 1, PTn: 2)\r\n>CT_init ok\r\n"
            "2,1 2010000000\r\n#1,2 9000\r\n"
            "2,1    2010000000\r\n#1,2 9000\r\n"
            "2,1 20110000\r\n#1,2 9000\r\n"
            "CT_close (CTn: 1)\r\n>CT_close ok\r\n");
}

TEST_F(TestConsoleTest, FailedInitAndClose) {
  Open();
  StartLog();
  const struct {
    int rc;
    const char* text;
  } inits[] = {{-8, "-8 (ERR_CT) "}, {-5, "Error CT_init RC-code = -5"}};
  for (const auto& init : inits) {
    SteeredDriver::initRc = init.rc;
    Click(IDC_CONSOLE_CT_INIT);
    EXPECT_EQ(Output(), init.text);
    EXPECT_TRUE(IconIs(kIconFailed));
    EXPECT_EQ(Buttons(), "100000001") << "CT_init can be tried again";
  }
  SteeredDriver::initRc = 0;
  Click(IDC_CONSOLE_CT_INIT);
  SteeredDriver::closeRc = -5;
  Click(IDC_CONSOLE_CT_CLOSE);
  EXPECT_EQ(Output(), "Error CT_close RC-Code = -5");
  EXPECT_TRUE(IconIs(kIconFailed));
  EXPECT_EQ(Buttons(), "010100001") << "Close comes back even so";
  SteeredDriver::closeRc = -128;
  Click(IDC_CONSOLE_CT_CLOSE);
  EXPECT_EQ(Output(), "-128 (ERR_HTSI) ");
  EXPECT_EQ(LogContents(),
            "CT_init (CTn: 0, PTn: 0)\r\n>-8 (ERR_CT) \r\n"
            "CT_init (CTn: 0, PTn: 0)\r\n>Error CT_init RC-code = -5\r\n"
            "CT_init (CTn: 0, PTn: 0)\r\n>CT_init ok\r\n"
            "CT_close (CTn: 0)\r\n>Error CT_close RC-Code = -5\r\n"
            "CT_close (CTn: 0)\r\n>-128 (ERR_HTSI) \r\n");
}

TEST_F(TestConsoleTest, RefusedCommandsSendAndLogNothing) {
  ConsoleLists().commands[0] = "2,1 2010000000";  // left by an earlier console, not shown
  Open();
  OpenTerminal();
  StartLog();
  sim_.Reset();
  const std::string tooManyDigits = "2,1 " + std::string(601, '0');
  const struct {
    std::string typed;  // empty: the field is not touched, so the flag stays clear
    const char* message;
  } cases[] = {
      {"", "Input not complete!"},
      {"2,1 20100", "Input not complete!"},
      {"2;1 2010000000", "Only hex. input allowed!"},
      {tooManyDigits, "Command too long!"},
      {std::string(1000, '0'), "Command too long!"},
  };
  ConsoleLists().commandSelection = 0;
  Console().commandEdited = false;
  for (const auto& c : cases) {
    if (!c.typed.empty()) Type(c.typed);
    prompt_.AnswerMessage(IDOK);
    Click(IDC_CONSOLE_CT_DATA);
    ASSERT_EQ(prompt_.Messages().size(), static_cast<std::size_t>(&c - cases + 1));
    const AskedMessage& asked = prompt_.Messages().back();
    EXPECT_EQ(asked.text, c.message) << c.typed.size();
    EXPECT_EQ(asked.caption, "Kelvanor");
    EXPECT_EQ(asked.icon, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_TRUE(IconIs(kIconReady));
    HWND commands = GetDlgItem(console_, IDC_CONSOLE_COMMANDS);
    EXPECT_TRUE(GetFocus() == commands || IsChild(commands, GetFocus()));
    EXPECT_EQ(Buttons(), "011111100");
  }
  SentCommand sent;
  EXPECT_FALSE(sim_.LastCommand(sent)) << "nothing went out";
  EXPECT_EQ(LogContents(), "");
}

TEST_F(TestConsoleTest, ResponseDisplayModesAndScrolling) {
  Open();
  OpenTerminal();
  Click(IDC_CONSOLE_DISPLAY_MODE);
  EXPECT_EQ(Text(IDC_CONSOLE_DISPLAY_MODE), "Hex") << "the first press keeps the template's caption";
  EXPECT_EQ(Output(), "") << "the reset's 90 00 without its status bytes";
  Click(IDC_CONSOLE_DISPLAY_MODE);
  EXPECT_EQ(Text(IDC_CONSOLE_DISPLAY_MODE), "Ascii");
  EXPECT_EQ(Output(), "1,2    90 00 ");

  Bytes sixty(60);
  std::iota(sixty.begin(), sixty.end(), 0x30);
  Answer(sixty);
  Type("2,1 20110000");
  Click(IDC_CONSOLE_CT_DATA);
  const std::string display = Output();
  ASSERT_EQ(display.size(), 7u + 180);
  HWND bar = GetDlgItem(console_, IDC_CONSOLE_OUTPUT_SCROLL);
  int low = -1, high = -1;
  GetScrollRange(bar, SB_CTL, &low, &high);
  EXPECT_EQ(high, 3);
  Scroll(SB_LINEDOWN);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 1);
  EXPECT_EQ(Output(), display.substr(81));
  Scroll(SB_THUMBPOSITION, 3);
  EXPECT_EQ(Output(), display.substr(81)) << "the end of the range keeps the text";

  Answer({0x6F, 0x00}, -10);
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_EQ(Output(), "-10 (ERR_TRANS) ");
  EXPECT_TRUE(IconIs(kIconFailed));
  EXPECT_EQ(Buttons(), "011111100");
  Scroll(SB_PAGEUP);
  EXPECT_EQ(Output(), display.substr(162)) << "the earlier response still scrolls";

  Click(IDC_CONSOLE_DISPLAY_MODE);  // ASCII again, from the first line
  EXPECT_EQ(Output(), std::string(sixty.begin(), sixty.end() - 2));
  Click(IDC_CONSOLE_DISPLAY_MODE);

  Answer(Bytes(4096, 0x41), 0, 65535);  // the driver claims more than the buffer holds
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_EQ(Output().size(), 7u + 3 * 4096) << "shown whole";
  GetScrollRange(bar, SB_CTL, &low, &high);
  EXPECT_EQ(high, 152);

  Answer({0x6F, 0x00}, -5);
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_EQ(Output(), "Error CT_data RC-Code = -5");
}

TEST_F(TestConsoleTest, EmptyAnswerShowsOkAndLogsNoResponseLine) {
  Open();
  OpenTerminal();
  StartLog();
  Answer({});
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_EQ(Output(), "CT_data ok");
  Answer({});
  Click(IDC_CONSOLE_RESET_ICC);
  EXPECT_EQ(Output(), "CT_data ok");
  EXPECT_EQ(LogContents(), "2,1    2010000000\r\n2,1 2010010100\r\n");
}

TEST_F(TestConsoleTest, QuickResetsWithTheLog) {
  Open();
  Click(IDC_CONSOLE_CT_INIT);
  StartLog();
  Answer({0x90, 0x00}, -8);
  Click(IDC_CONSOLE_RESET_CT);
  EXPECT_EQ(Buttons(), "010100000") << "a failed reset changes no button";
  Answer({0x90, 0x00});
  Click(IDC_CONSOLE_RESET_CT);
  Answer({0x90, 0x00}, -8);
  Click(IDC_CONSOLE_RESET_ICC);
  EXPECT_EQ(Output(), "-8 (ERR_CT) ");
  Click(IDC_CONSOLE_DISPLAY_MODE);
  Answer({'A', 'T', 'R', 0x90, 0x00});
  Click(IDC_CONSOLE_RESET_ICC);
  EXPECT_EQ(LastSent(), (Bytes{0x20, 0x10, 0x01, 0x01, 0x00}));
  EXPECT_EQ(Output(), "ATR");
  EXPECT_EQ(Text(IDC_CONSOLE_COMMANDS), "2,1    2010010100");
  EXPECT_EQ(Text(IDC_CONSOLE_DESCRIPTIONS), "Reset ICC");
  Answer({0x90, 0x00});
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_EQ(LastSent(), (Bytes{0x20, 0x10, 0x01, 0x01, 0x00}));
  EXPECT_EQ(LogContents(),
            "2,1 2010000000\r\n>-8 (ERR_CT) \r\n"
            "2,1 2010000000\r\n#1,2 9000\r\n"
            "2,1 2010010100\r\n>-8 (ERR_CT) \r\n"
            "2,1 2010010100\r\n#1,2 4154529000\r\n"
            "2,1    2010010100\r\n#1,2 9000\r\n");
}

TEST_F(TestConsoleTest, ListsModifyListNextCommandAndPicking) {
  Open();
  OpenTerminal();
  StartLog();
  FillLists(3);
  ModifyList();
  EXPECT_TRUE(prompt_.Messages().empty());
  ASSERT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_COMMANDS, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ListEntry(IDC_CONSOLE_COMMANDS, 2), "0002 : 2,1 20110002");
  EXPECT_EQ(ListEntry(IDC_CONSOLE_DESCRIPTIONS, 1), "0001 : description 1");
  EXPECT_EQ(Selection(IDC_CONSOLE_COMMANDS), 0);
  EXPECT_EQ(Buttons(), "011111110");

  Click(IDC_CONSOLE_NEXT_COMMAND);
  Click(IDC_CONSOLE_NEXT_COMMAND);
  EXPECT_EQ(Selection(IDC_CONSOLE_COMMANDS), 2);
  EXPECT_EQ(Selection(IDC_CONSOLE_DESCRIPTIONS), 2);
  EXPECT_TRUE(IconIs(kIconReady));
  Click(IDC_CONSOLE_NEXT_COMMAND);
  EXPECT_EQ(Output(), "Passed the end of the command list.");
  EXPECT_EQ(Selection(IDC_CONSOLE_COMMANDS), 0);
  EXPECT_EQ(Selection(IDC_CONSOLE_DESCRIPTIONS), 0);

  Pick(IDC_CONSOLE_DESCRIPTIONS, 1);
  EXPECT_EQ(Selection(IDC_CONSOLE_COMMANDS), 1);
  Answer({0x90, 0x00});
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_EQ(LastSent(), (Bytes{0x20, 0x11, 0x00, 0x01})) << "the stored entry, without its prefix";

  Type("0003 : 2,1 2010000000");
  Answer({0x90, 0x00});
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_EQ(LastSent(), (Bytes{0x20, 0x10, 0x00, 0x00, 0x00}));
  EXPECT_EQ(LogContents(),
            "0001 : 2,1 20110001\r\n#1,2 9000\r\n"
            "0003 : 2,1 2010000000\r\n#1,2 9000\r\n");
}

TEST_F(TestConsoleTest, NextCommandOnEmptyListsSaysSoEachTime) {
  Open();
  OpenTerminal();
  ModifyList(IDCANCEL);
  for (int i = 0; i < 2; ++i) {
    SetDlgItemTextA(console_, IDC_CONSOLE_OUTPUT, "");
    Click(IDC_CONSOLE_NEXT_COMMAND);
    EXPECT_EQ(Output(), "Passed the end of the command list.");
  }
}

TEST_F(TestConsoleTest, ConfigLabelFollowsActivationOnly) {
  Open();
  Settings().ctn = 7;
  SendMessageA(console_, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  EXPECT_EQ(Text(IDC_CONSOLE_CONFIG_LABEL), "CTn: 0, PTn: 0");
  SendMessageA(console_, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
  EXPECT_EQ(Text(IDC_CONSOLE_CONFIG_LABEL), "CTn: 7, PTn: 0");
  Settings().ptn = 3;
  Click(IDC_CONSOLE_CT_INIT);  // every driver call refreshes it too
  EXPECT_EQ(Text(IDC_CONSOLE_CONFIG_LABEL), "CTn: 7, PTn: 3");
}

TEST_F(TestConsoleTest, ClosingLeavesTheTerminalOpenAndASecondConsoleStartsEmpty) {
  Open();
  OpenTerminal();
  FillLists(2);
  ModifyList();
  SendMessageA(console_, WM_CLOSE, 0, 0);  // the close box, while Close is disabled
  PumpMessages();
  EXPECT_FALSE(IsWindow(console_));
  EXPECT_EQ(SteeredDriver::closeCalls, 0);
  EXPECT_EQ(PopupItemId(main_, 1, 1), static_cast<UINT>(ID_TEST_CT));
  EXPECT_EQ(PopupItemId(main_, 1, 0), static_cast<UINT>(ID_CT_BCS));

  Open();
  EXPECT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_COMMANDS, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_DESCRIPTIONS, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Text(IDC_CONSOLE_DISPLAY_MODE), "Hex");
  EXPECT_EQ(ConsoleLists().commands[1], "2,1 20110001") << "the texts stay in memory";
  Click(IDCANCEL);
  EXPECT_FALSE(IsWindow(console_));
}

TEST_F(TestConsoleTest, OpenFileLoadsTheListsAndUnlocksNextCommand) {
  Open();
  OpenTerminal();
  StartLog();
  const std::string path = OpenRequestFile("#Reset CT\r\n2,1 2010000000\r\n>skipped\r\n2,1 20110000\r\n");
  ASSERT_EQ(prompt_.FileRequests().size(), 1u);
  const FileRequest& asked = prompt_.FileRequests()[0];
  EXPECT_EQ(asked.title, "Open File");
  EXPECT_EQ(asked.filter, "*.req |*.req| All Files (*.*) |*.*|");
  EXPECT_EQ(asked.path, "tm.req");
  EXPECT_EQ(asked.defaultExtension, "");
  EXPECT_EQ(Buttons(), "011111110");
  EXPECT_TRUE(IconIs(kIconReady));
  ASSERT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_COMMANDS, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(ListEntry(IDC_CONSOLE_COMMANDS, 1), "0001 : 2,1 20110000");
  EXPECT_EQ(ListEntry(IDC_CONSOLE_DESCRIPTIONS, 0), "0000 : Reset CT");
  EXPECT_EQ(ListEntry(IDC_CONSOLE_DESCRIPTIONS, 1), "0001 :  ");
  EXPECT_EQ(Selection(IDC_CONSOLE_COMMANDS), 0);
  EXPECT_EQ(LogContents(), "File " + path + " is open.\r\n");

  Answer({0x90, 0x00});
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_EQ(LastSent(), (Bytes{0x20, 0x10, 0x00, 0x00, 0x00})) << "the first entry, as loaded";

  // The next Open dialog offers the path confirmed last.
  prompt_.AnswerFile("");
  Click(IDC_CONSOLE_OPEN_FILE);
  EXPECT_EQ(prompt_.FileRequests().back().path, path);
  EXPECT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_COMMANDS, CB_GETCOUNT, 0, 0), 2)
      << "cancel changes nothing";
}

TEST_F(TestConsoleTest, AHundredthCommandLineIsRefusedAfterTheOpenLine) {
  Open();
  OpenTerminal();
  StartLog();
  std::string bytes;
  for (int i = 0; i < 150; ++i) bytes += "2,1 2011000" + std::to_string(i % 3) + "\r\n";
  prompt_.AnswerMessage(IDOK);
  const std::string path = OpenRequestFile(bytes);
  ASSERT_EQ(prompt_.Messages().size(), 1u);
  EXPECT_EQ(prompt_.Messages()[0].text, "No Space available!");
  EXPECT_EQ(prompt_.Messages()[0].icon, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_COMMANDS, CB_GETCOUNT, 0, 0), 99);
  EXPECT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_DESCRIPTIONS, CB_GETCOUNT, 0, 0), 100);
  EXPECT_EQ(LogContents(), "File " + path + " is open.\r\n");
}

TEST_F(TestConsoleTest, AFileThatCannotBeOpenedStillCountsAsChosen) {
  Open();
  Click(IDC_CONSOLE_CT_INIT);
  const std::string missing = (dir_ / "missing.req").string();
  prompt_.AnswerFile(missing);
  prompt_.AnswerMessage(IDOK);
  // OpenFile is not usable before Reset CT; the handler is reached through its command.
  SendMessageA(console_, WM_COMMAND, MAKEWPARAM(IDC_CONSOLE_OPEN_FILE, BN_CLICKED), 0);
  ASSERT_EQ(prompt_.Messages().size(), 1u);
  EXPECT_EQ(prompt_.Messages()[0].text, "Error during open file: " + missing);
  EXPECT_EQ(prompt_.Messages()[0].icon, static_cast<UINT>(MB_ICONSTOP));
  Answer({0x90, 0x00});
  Click(IDC_CONSOLE_RESET_CT);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(console_, IDC_CONSOLE_NEXT_COMMAND)))
      << "Reset CT frees Next Command once a file was chosen";
}

TEST_F(TestConsoleTest, EditorOkAndCancelOnTheConsoleLists) {
  Open();
  OpenTerminal();
  OpenRequestFile("#one\r\n2,1 20110000\r\n#two\r\n2,1 20110001\r\n");
  // Cancel: an added entry is gone again.
  prompt_.AnswerMessage(IDNO);
  WhenDialogShows("Modify command list", [](HWND editor) {
    SetDlgItemTextA(editor, IDC_EDITOR_COMMAND, "2,1 20130080");
    SendDlgItemMessageA(editor, IDC_ADD_COMMAND, BM_CLICK, 0, 0);
    SendDlgItemMessageA(editor, IDCANCEL, BM_CLICK, 0, 0);
  });
  Click(IDC_CONSOLE_MODIFY_LIST);
  EXPECT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_COMMANDS, CB_GETCOUNT, 0, 0), 2);
  // OK: it stays, after the selected entry 0.
  prompt_.AnswerMessage(IDNO);
  WhenDialogShows("Modify command list", [](HWND editor) {
    SetDlgItemTextA(editor, IDC_EDITOR_COMMAND, "2,1 20130080");
    SendDlgItemMessageA(editor, IDC_ADD_COMMAND, BM_CLICK, 0, 0);
    SendDlgItemMessageA(editor, IDOK, BM_CLICK, 0, 0);
  });
  Click(IDC_CONSOLE_MODIFY_LIST);
  ASSERT_EQ(SendDlgItemMessageA(console_, IDC_CONSOLE_COMMANDS, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ListEntry(IDC_CONSOLE_COMMANDS, 1), "0001 : 2,1 20130080");
  EXPECT_EQ(ListEntry(IDC_CONSOLE_DESCRIPTIONS, 1), "0001 : one") << "the selected entry's description";
  EXPECT_EQ(ListEntry(IDC_CONSOLE_COMMANDS, 2), "0002 : 2,1 20110001");
  EXPECT_EQ(Selection(IDC_CONSOLE_COMMANDS), 0);
}

TEST_F(TestConsoleTest, AnswerDetailsFollowsEachConsoleCommand) {
  Open();
  OpenTerminal();
  SendMessageA(main_, WM_COMMAND, ID_ANSWER_DETAILS, 0);
  ASSERT_NE(AnswerDetailsWindow(), nullptr);
  EXPECT_NE(AnswerDetailsShown().find("Command    20 10 00 00 00"), std::string::npos)
      << "opens on the console's last command, the Reset CT\n"
      << AnswerDetailsShown();

  StartLog();
  Answer({0x6A, 0x82});
  Type("2,0 00A4040007A0000000041010");
  Click(IDC_CONSOLE_CT_DATA);
  const std::string shown = AnswerDetailsShown();
  EXPECT_EQ(shown, AnswerDetailsText(Exchanges().Last()));
  EXPECT_NE(shown.find("Sent by    test console"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Addresses  2,0"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Command    00 A4 04 00 07 A0 00 00 00 04 10 10"), std::string::npos) << shown;
  EXPECT_NE(shown.find("File or application not found"), std::string::npos) << shown;
  EXPECT_EQ(Output(), "1,2    6a 82 ") << "the console shows its answer as ever";

  Answer({0x90, 0x00}, -10);
  Click(IDC_CONSOLE_CT_DATA);
  EXPECT_NE(AnswerDetailsShown().find("CT_data    -10 (ERR_TRANS)"), std::string::npos)
      << AnswerDetailsShown();
  EXPECT_EQ(LogContents(),
            "2,0 00A4040007A0000000041010\r\n#1,2 6a82\r\n"
            "2,0 00A4040007A0000000041010\r\n>-10 (ERR_TRANS) \r\n")
      << "only the console's own lines";
}
