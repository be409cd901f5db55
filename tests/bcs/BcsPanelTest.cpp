// The CT-BCS panel from its real template, on the simulated driver with scripted answers.
#include <vector>

#include "app/AnswerDetails.h"
#include "bcs/BcsPanelDialog.h"
#include "bcs/CardParameters.h"
#include "ctapi/ZemtrakDriver.h"
#include "resources/ResourceIds.h"
#include "session/LastExchange.h"
#include "session/SessionLog.h"
#include "session/SessionSettings.h"
#include "tests/bcs/BcsPanelFixture.h"
#include "tests/support/AnswerDetailsWindow.h"
#include "tests/support/MessagePump.h"
#include "win/Menu.h"

namespace {

// The button columns of the panel's life: opened, session open, card buttons unlocked.
std::map<int, bool> Column(bool ctInit, bool sessionButtons, bool cardButtons) {
  return {{IDC_BCS_CT_INIT, ctInit},
          {IDC_BCS_CT_CLOSE, sessionButtons},
          {IDCANCEL, ctInit},
          {IDC_BCS_RESET_CT, sessionButtons},
          {IDC_BCS_CT_INFO, sessionButtons},
          {IDC_BCS_RESET_ICC, cardButtons},
          {IDC_BCS_REQUEST_ICC, cardButtons},
          {IDC_BCS_EJECT_ICC, cardButtons},
          {IDC_BCS_ICC_STATUS, cardButtons}};
}
const auto kOpened = Column(true, false, false);
const auto kSession = Column(false, true, false);
const auto kUnlocked = Column(false, true, true);

}  // namespace

TEST_F(BcsPanelTest, TemplateGeometryAndControls) {
  char title[32] = {};
  GetWindowTextA(panel_, title, sizeof title);
  EXPECT_STREQ(title, "CT - BCS ");
  const DWORD style = GetWindowLongA(panel_, GWL_STYLE);
  for (DWORD bit : {DWORD{WS_CAPTION}, DWORD{WS_SYSMENU}, DWORD{WS_POPUP}, DWORD{DS_MODALFRAME}})
    EXPECT_EQ(style & bit, bit);
  EXPECT_NE(GetWindowLongA(panel_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0) << "sunken client edge";
  EXPECT_EQ(GetParent(panel_), main_) << "owned by the main window";

  // Position and size convert separately, as the template's controls do.
  auto dialogRect = [&](int x, int y, int w, int h) {
    RECT r{x, y, w, h};
    MapDialogRect(panel_, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
  };
  auto clientRect = [&](HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, panel_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  RECT frame = dialogRect(10, 16, 242, 137);
  RECT client;
  GetClientRect(panel_, &client);
  EXPECT_EQ(client.right, frame.right - frame.left);
  EXPECT_EQ(client.bottom, frame.bottom - frame.top);

  const struct {
    int id;
    const char* text;
    int x, y, w, h;
  } controls[] = {
      {IDC_BCS_CT_INIT, "CT_init", 15, 16, 50, 12},
      {IDC_BCS_CT_CLOSE, "CT_close", 15, 40, 50, 12},
      {IDCANCEL, "Close", 15, 64, 50, 12},
      {IDC_BCS_RESET_CT, "Reset CT", 109, 16, 50, 12},
      {IDC_BCS_CT_INFO, "CT info", 109, 40, 50, 12},
      {IDC_BCS_ICC_STATUS, "ICC status", 109, 64, 50, 12},
      {IDC_BCS_RESET_ICC, "Reset ICC", 173, 16, 50, 12},
      {IDC_BCS_REQUEST_ICC, "Request ICC", 173, 40, 50, 12},
      {IDC_BCS_EJECT_ICC, "Eject ICC", 173, 64, 50, 12},
      {IDC_BCS_INPUT_LABEL, "", 10, 108, 138, 18},
      {IDC_BCS_CONFIG_LABEL, "CTn: 0, PTn: 0", 163, 108, 69, 18},
  };
  for (const auto& c : controls) {
    HWND control = GetDlgItem(panel_, c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(Text(c.id), c.text);
    const RECT expected = dialogRect(c.x, c.y, c.w, c.h);
    const RECT actual = clientRect(control);
    EXPECT_TRUE(EqualRect(&expected, &actual)) << c.text;
  }
  EXPECT_EQ(GetWindowLongA(GetDlgItem(panel_, IDC_BCS_CT_INIT), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);

  std::vector<std::string> groups;
  for (HWND child = GetWindow(panel_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[16] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & 0x0F) == BS_GROUPBOX) {
      char text[16] = {};
      GetWindowTextA(child, text, sizeof text);
      groups.push_back(text);
    }
  }
  EXPECT_EQ(groups, (std::vector<std::string>{"", "", "Input", "Config"}));

  EXPECT_EQ(Buttons(), kOpened);
  EXPECT_EQ(GetFocus(), GetDlgItem(panel_, IDC_BCS_CT_INIT));
}

TEST_F(BcsPanelTest, OpeningResetsTheWaitingTextAndTheSignalButNotTheWaitingTime) {
  SendMessageA(panel_, WM_CLOSE, 0, 0);
  PumpMessages();
  ASSERT_FALSE(IsWindow(panel_));
  CardParams() = {"12", 12, 1, CardDirection::Removal};
  Settings() = {3, 4};
  ASSERT_TRUE(OpenBcsPanel(main_));
  HWND panel = FindWindowA("#32770", "CT - BCS ");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(CardParams().waitingTimeText, "0");
  EXPECT_EQ(CardParams().acousticSignal, 0);
  EXPECT_EQ(CardParams().waitingTime, 12);
  char label[32] = {};
  GetDlgItemTextA(panel, IDC_BCS_CONFIG_LABEL, label, sizeof label);
  EXPECT_STREQ(label, "CTn: 3, PTn: 4");
}

TEST_F(BcsPanelTest, ActivationRefreshesTheConfigLabel) {
  Settings() = {7, 1};
  EXPECT_EQ(Text(IDC_BCS_CONFIG_LABEL), "CTn: 0, PTn: 0") << "not before the panel is activated";
  SendMessageA(panel_, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  EXPECT_EQ(Text(IDC_BCS_CONFIG_LABEL), "CTn: 0, PTn: 0");
  SendMessageA(panel_, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
  EXPECT_EQ(Text(IDC_BCS_CONFIG_LABEL), "CTn: 7, PTn: 1");
  Settings() = {65535, 8};
  SendMessageA(panel_, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
  EXPECT_EQ(Text(IDC_BCS_CONFIG_LABEL), "CTn: 65535, PTn: 8");
}

TEST_F(BcsPanelTest, SessionCourseWithItsButtonsMessagesAndLog) {
  Settings() = {1, 1};  // port 1 reaches the simulated terminal
  StartLog();
  SetDlgItemTextA(panel_, IDC_BCS_INPUT_LABEL, "before");

  ExpectMessage();
  Click(IDC_BCS_CT_INIT);
  EXPECT_EQ(LastMessage().text, "CT_init ok!");
  EXPECT_EQ(LastMessage().caption, "Kelvanor");
  EXPECT_EQ(LastMessage().icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(LastMessage().buttons, static_cast<UINT>(MB_OK));
  EXPECT_EQ(Buttons(), kSession);
  EXPECT_EQ(Text(IDC_BCS_INPUT_LABEL), "before") << "CT_init leaves the label";
  Settings().ptn = 5;  // every operation ends by showing the settings
  sim_.Queue({0, {0x90, 0x00}});
  ExpectMessage();
  Click(IDC_BCS_RESET_CT);
  EXPECT_EQ(LastMessage().text, "Reset successful.");
  EXPECT_EQ(Buttons(), kUnlocked);
  EXPECT_EQ(Text(IDC_BCS_INPUT_LABEL), "2,1    20110000");
  EXPECT_EQ(Text(IDC_BCS_CONFIG_LABEL), "CTn: 1, PTn: 5");
  SentCommand sent;
  ASSERT_TRUE(sim_.LastCommand(sent));
  EXPECT_EQ(sent.ctn, 1u);
  EXPECT_EQ(sent.dad, 1);
  EXPECT_EQ(sent.sad, 2);
  EXPECT_EQ(sent.bytes, (std::vector<std::uint8_t>{0x20, 0x11, 0x00, 0x00}));

  sim_.Queue({0, {0x90, 0x00}});
  ExpectMessage();
  Click(IDC_BCS_RESET_CT);
  EXPECT_EQ(Buttons(), kUnlocked);

  ExpectMessage();
  Click(IDC_BCS_CT_CLOSE);
  EXPECT_EQ(LastMessage().text, "CT_close ok!");
  EXPECT_EQ(LastMessage().icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(Buttons(), kOpened);
  EXPECT_EQ(Text(IDC_BCS_INPUT_LABEL), " ");

  EXPECT_EQ(LogContents(),
            "CT_init (CTn: 1, PTn: 1)\r\n>CT_init ok!\r\n"
            "2,1 20110000\r\n>Reset successful.\r\n"
            "2,1 20110000\r\n>Reset successful.\r\n"
            "CT_close (CTn: 1)\r\n>CT_close ok!\r\n");
}

TEST_F(BcsPanelTest, DriverErrorsChangeNoButtonButCtCloseAlwaysFreesClose) {
  Settings() = {1, 1};  // port 1 reaches the simulated terminal
  StartLog();
  ZemtrakDriver().init(1, 1);  // the terminal is open already: the simulation refuses a second CT_init
  ExpectMessage();
  Click(IDC_BCS_CT_INIT);
  EXPECT_EQ(LastMessage().text, "-1 (ERR_INVALID) ");
  EXPECT_EQ(LastMessage().icon, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(Buttons(), kOpened);
  ZemtrakDriver().close(1);

  ExpectMessage();
  Click(IDC_BCS_CT_INIT);
  const struct {
    int button;
    int rc;
    const char* text;
  } errors[] = {
      {IDC_BCS_RESET_CT, -128, "-128 (ERR_HTSI) "},
      {IDC_BCS_RESET_CT, -5, "Error Reset CT RC-Code = -5"},
      {IDC_BCS_CT_INFO, -6, "Error CT Info RC-Code = -6"},
  };
  for (const auto& e : errors) {
    sim_.Queue({e.rc, {0x90, 0x00}});
    ExpectMessage();
    Click(e.button);
    EXPECT_EQ(LastMessage().text, e.text);
    EXPECT_EQ(LastMessage().icon, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(Buttons(), kSession) << "not even Reset CT's 90 00 counts";
  }

  ZemtrakDriver().close(1);  // so that the panel's CT_close fails
  ExpectMessage();
  Click(IDC_BCS_CT_CLOSE);
  EXPECT_EQ(LastMessage().text, "-1 (ERR_INVALID) ");
  auto closeFreed = kSession;
  closeFreed[IDCANCEL] = true;
  EXPECT_EQ(Buttons(), closeFreed);

  EXPECT_EQ(LogContents(),
            "CT_init (CTn: 1, PTn: 1)\r\n>-1 (ERR_INVALID) \r\n"
            "CT_init (CTn: 1, PTn: 1)\r\n>CT_init ok!\r\n"
            "2,1 20110000\r\n>-128 (ERR_HTSI) \r\n"
            "2,1 20110000\r\n>Error Reset CT RC-Code = -5\r\n"
            "2,1 20130046\r\n>Error CT Info RC-Code = -6\r\n"
            "CT_close (CTn: 1)\r\n>-1 (ERR_INVALID) \r\n");
}

// Each fixed command: what it sends, shows and logs, for one answer of its table.
TEST_F(BcsPanelTest, FixedCommandsSendShowAndLogAfterTheMessage) {
  OpenSessionAndResetCt();
  StartLog();
  const struct {
    int button;
    std::vector<std::uint8_t> bytes;
    const char* label;
    std::vector<std::uint8_t> answer;
    const char* message;
    UINT icon;
    const char* log;
  } cases[] = {
      {IDC_BCS_RESET_CT,
       {0x20, 0x11, 0x00, 0x00},
       "2,1    20110000",
       {0x6F, 0x00},
       "Reset not successful.\nStatus:\n6f00",
       MB_ICONSTOP,
       "2,1 20110000\r\n>Reset not successful.\r\nStatus:\r\n6f00\r\n"},
      {IDC_BCS_RESET_CT,
       {0x20, 0x11, 0x00, 0x00},
       "2,1    20110000",
       {0x64, 0x00},
       "Reset not successful!",
       MB_ICONSTOP,
       "2,1 20110000\r\n>Reset not successful.\r\n"},
      {IDC_BCS_RESET_ICC,
       {0x20, 0x11, 0x01, 0x01},
       "2,1    20110101",
       {0x3B, 0x02, 0x14, 0x50, 0x90, 0x00},
       "Synchronous ICC, reset successful.\nATR:\n3B 02 14 50 ",
       MB_ICONINFORMATION,
       "2,1 20110101\r\n>3B 02 14 50 90 00 \r\n"},
      {IDC_BCS_ICC_STATUS,
       {0x20, 0x13, 0x00, 0x80},
       "2,1    20130080",
       {0x05, 0x90, 0x00},
       "ICC electrically connected.",
       MB_ICONINFORMATION,
       "2,1 20130080\r\n>ICC electrically connected.\r\n"},
      {IDC_BCS_ICC_STATUS,
       {0x20, 0x13, 0x00, 0x80},
       "2,1    20130080",
       {0x6A, 0x82},
       "ICC Status not successful.\nStatus:\n6A82",
       MB_ICONSTOP,
       "2,1 20130080\r\n>ICC Status not successful.\r\nStatus:\r\n6A82\r\n"},
      {IDC_BCS_CT_INFO,
       {0x20, 0x13, 0x00, 0x46},
       "2,1    20130046",
       {'D', 'E', 'T', 'O', 'V', 'A', 'B', ' ', ' ', ' ', '1', '.', '0', ' ', ' ', 0x90, 0x00},
       "Country code:\tDE\nManufacturer:\tTOV\nCT Type:\t\tAB\nCT SW Version:\t1.0",
       MB_ICONINFORMATION,
       "2,1 20130046\r\n>Country code:  DE\r\nManufacturer:   TOV\r\nCT Type:      AB   \r\nCT SW Version: "
       "1.0  \r\n"},
  };
  for (const auto& c : cases) {
    const std::string before = LogContents();
    sim_.Queue({0, c.answer});
    ExpectMessage();
    Click(c.button);
    SentCommand sent;
    ASSERT_TRUE(sim_.LastCommand(sent));
    EXPECT_EQ(sent.bytes, c.bytes) << c.label;
    EXPECT_EQ(Text(IDC_BCS_INPUT_LABEL), c.label);
    EXPECT_EQ(LastMessage().text, c.message);
    EXPECT_EQ(LastMessage().icon, c.icon) << c.message;
    EXPECT_EQ(LogContents(), before + c.log);
    EXPECT_EQ(Buttons(), kUnlocked) << "no answer of these changes a button";
  }
}

TEST_F(BcsPanelTest, AnAnswerOfTheWholeBufferIsShownOnlyInPart) {
  OpenSessionAndResetCt();
  std::vector<std::uint8_t> answer(2048, 0x3B);
  answer[995] = 0x6A;
  answer[996] = 0x82;
  sim_.Queue({0, answer, -1, -1, 60000});  // the driver claims far more than the buffer
  ExpectMessage();
  Click(IDC_BCS_RESET_ICC);
  EXPECT_EQ(LastMessage().text, "Reset ICC not successful.\nStatus:\n6A 82 ");
}

TEST_F(BcsPanelTest, NothingIsLoggedWhileLoggingIsOff) {
  OpenSessionAndResetCt();
  StartLog();
  SendMessageA(main_, WM_COMMAND, MAKEWPARAM(ID_LOG_FILE, 0), 0);  // closes it again
  ASSERT_FALSE(Log().Enabled());
  sim_.Queue({0, {0x90, 0x00}});
  ExpectMessage();
  ParameterDialogScript script([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
  Click(IDC_BCS_REQUEST_ICC);
  ExpectMessage();
  Click(IDC_BCS_CT_CLOSE);
  EXPECT_EQ(LogContents(), "");
}

TEST_F(BcsPanelTest, AnswerDetailsFollowsEachPanelCommand) {
  OpenSessionAndResetCt();
  SendMessageA(main_, WM_COMMAND, ID_ANSWER_DETAILS, 0);
  ASSERT_NE(AnswerDetailsWindow(), nullptr);
  EXPECT_NE(AnswerDetailsShown().find("Command    20 11 00 00"), std::string::npos) << AnswerDetailsShown();

  StartLog();
  sim_.Queue({0, {0x3B, 0x02, 0x14, 0x50, 0x90, 0x00}});
  ExpectMessage();
  Click(IDC_BCS_RESET_ICC);
  const std::string shown = AnswerDetailsShown();
  EXPECT_EQ(shown, AnswerDetailsText(Exchanges().Last()));
  EXPECT_NE(shown.find("Sent by    CT-BCS panel"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Addresses  2,1"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Command    20 11 01 01"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Answer     3B 02 14 50 90 00"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Card terminal (CT-BCS)"), std::string::npos) << shown;
  EXPECT_EQ(LastMessage().text, "Synchronous ICC, reset successful.\nATR:\n3B 02 14 50 ");

  // Closed, it follows no more, and the panel goes on as before.
  SendMessageA(AnswerDetailsWindow(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_EQ(AnswerDetailsWindow(), nullptr);
  EXPECT_EQ(PopupItemId(main_, 1, 3), static_cast<UINT>(ID_ANSWER_DETAILS));
  sim_.Queue({0, {0x90, 0x00}});
  ExpectMessage();
  Click(IDC_BCS_RESET_CT);
  EXPECT_EQ(LogContents(),
            "2,1 20110101\r\n>3B 02 14 50 90 00 \r\n"
            "2,1 20110000\r\n>Reset successful.\r\n");
}
