// Request and Eject ICC: the parameter dialog, the waiting window and what is sent and logged.
#include <vector>

#include "bcs/CardParameters.h"
#include "resources/ResourceIds.h"
#include "session/SessionLog.h"
#include "tests/bcs/BcsPanelFixture.h"

namespace {

std::string FieldText(HWND dialog) {
  char text[16] = {};
  GetDlgItemTextA(dialog, IDC_WAITING_TIME, text, sizeof text);
  return text;
}

void Enter(HWND dialog, const char* text) {
  SetDlgItemTextA(dialog, IDC_WAITING_TIME, text);
  SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

struct WaitingWindowSeen {
  bool shown = false;
  std::string text;
  bool hasIcon = false;
  bool mainEnabled = true;
};

}  // namespace

TEST_F(BcsPanelTest, ParameterDialogRefusesWhatIsNotADecimalUpTo255) {
  OpenSessionAndResetCt();
  const struct {
    const char* entry;
    const char* refusal;  // nullptr: accepted
    int seconds;
  } entries[] = {
      {"12a", "Only decimal input allowed!", 0},
      {"256", "Only waiting time between 0 and 255 supported!", 0},
      {"", "Only waiting time between 0 and 255 supported!", 0},
      {"   ", "Only waiting time between 0 and 255 supported!", 0},
      {" 7", nullptr, 7},
      {"1 2", nullptr, 1},
      {"0255", nullptr, 255},
  };
  for (const auto& e : entries) {
    CardParams().waitingTime = 99;
    if (e.refusal) prompt_.AnswerMessage(IDOK);
    bool sawDialog = false;
    ParameterDialogScript script([&](HWND dialog) {
      sawDialog = true;
      char title[32] = {};
      GetWindowTextA(dialog, title, sizeof title);
      EXPECT_STREQ(title, "Request and Eject ICC");
      HWND field = GetDlgItem(dialog, IDC_WAITING_TIME);
      EXPECT_EQ(SendMessageA(field, EM_GETLIMITTEXT, 0, 0), 4);
      EXPECT_NE(GetWindowLongA(field, GWL_STYLE) & ES_AUTOHSCROLL, 0);
      // The dialog manager draws an edit field's border as a client edge.
      EXPECT_TRUE((GetWindowLongA(field, GWL_STYLE) & WS_BORDER) ||
                  (GetWindowLongA(field, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
      HWND box = GetDlgItem(dialog, IDC_ACOUSTIC_SIGNAL);
      EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & (0x0F | BS_LEFTTEXT), BS_AUTOCHECKBOX | BS_LEFTTEXT);
      char boxText[32] = {};
      GetWindowTextA(box, boxText, sizeof boxText);
      EXPECT_STREQ(boxText, "Acoustic Signal:");
      EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
      EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_WAITING_TIME));
      Enter(dialog, e.entry);
      if (e.refusal) {
        ASSERT_TRUE(IsWindow(dialog)) << e.entry;
        EXPECT_EQ(prompt_.Messages().back().text, e.refusal);
        EXPECT_EQ(prompt_.Messages().back().icon, static_cast<UINT>(MB_ICONSTOP));
        EXPECT_EQ(FieldText(dialog), "0");
        EXPECT_EQ(CardParams().waitingTimeText, "0");
        EXPECT_EQ(CardParams().waitingTime, 99) << "a refused entry changes nothing";
        SendMessageA(dialog, WM_CLOSE, 0, 0);  // the close box: the command is sent all the same
      }
    });
    sim_.Queue({0, {0x62, 0x00}});
    ExpectMessage();
    Click(IDC_BCS_EJECT_ICC);
    EXPECT_TRUE(sawDialog);
    SentCommand sent;
    ASSERT_TRUE(sim_.LastCommand(sent));
    ASSERT_EQ(sent.bytes.size(), 8u);
    EXPECT_EQ(sent.bytes[7], e.refusal ? 99 : e.seconds) << e.entry;
    EXPECT_EQ(LastMessage().text, "Warning: Card not removed within specified time!");
    EXPECT_EQ(LastMessage().icon, static_cast<UINT>(MB_ICONEXCLAMATION));
  }
}

TEST_F(BcsPanelTest, RequestIccDisablesTheSignalBoxAndItsOkClearsTheFlag) {
  OpenSessionAndResetCt();
  StartLog();
  auto eject = [&](const char* entry, bool check, std::vector<std::uint8_t> expected) {
    ParameterDialogScript script([&](HWND dialog) {
      HWND box = GetDlgItem(dialog, IDC_ACOUSTIC_SIGNAL);
      EXPECT_TRUE(IsWindowEnabled(box));
      if (check) SendMessageA(box, BM_CLICK, 0, 0);
      Enter(dialog, entry);
    });
    sim_.Queue({0, {0x90, 0x01}});
    ExpectMessage();
    Click(IDC_BCS_EJECT_ICC);
    EXPECT_EQ(LastMessage().text, "Command successful, Card removed.");
    SentCommand sent;
    ASSERT_TRUE(sim_.LastCommand(sent));
    EXPECT_EQ(sent.bytes, expected);
  };
  eject("5", true, {0x20, 0x15, 0x01, 0x01, 0x03, 0x80, 0x01, 0x05});
  ASSERT_EQ(CardParams().acousticSignal, 1);

  bool boxChecked = true;
  ParameterDialogScript script([&](HWND dialog) {
    HWND box = GetDlgItem(dialog, IDC_ACOUSTIC_SIGNAL);
    EXPECT_FALSE(IsWindowEnabled(box));
    boxChecked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    EXPECT_EQ(FieldText(dialog), "5") << "the text of the last accepted entry";
    Enter(dialog, "10");
  });
  sim_.Queue({0, {0x3B, 0x02, 0x90, 0x01}});
  ExpectMessage();
  Click(IDC_BCS_REQUEST_ICC);
  EXPECT_FALSE(boxChecked);
  EXPECT_EQ(CardParams().acousticSignal, 0);
  EXPECT_EQ(Text(IDC_BCS_INPUT_LABEL), "2,1    201201010380010a");
  EXPECT_EQ(LastMessage().text, "Asynchronous ICC presented, reset successful.\nATR:\n3B 02 ");

  // The next Eject ICC shows the box unchecked.
  ParameterDialogScript again([&](HWND dialog) {
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_ACOUSTIC_SIGNAL), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape
  });
  sim_.Queue({0, {0x6A, 0x82}});
  ExpectMessage();
  Click(IDC_BCS_EJECT_ICC);
  EXPECT_EQ(LastMessage().text, "Eject ICC not successful.\nStatus:\n6A 82 ");
  SentCommand sent;
  ASSERT_TRUE(sim_.LastCommand(sent));
  EXPECT_EQ(sent.bytes, (std::vector<std::uint8_t>{0x20, 0x15, 0x01, 0x00, 0x03, 0x80, 0x01, 0x0A}));

  EXPECT_EQ(LogContents(),
            "2,1    2015010103800105\r\n>Command successful, Card removed.\r\n"
            "2,1    201201010380010a\r\n>3B 02 90 01 \r\n"
            "2,1    201501000380010a\r\n>Reset ICC not successful.\r\nStatus:\r\n6A 82 \r\n");
}

TEST_F(BcsPanelTest, TheCommandLineIsLoggedBeforeTheTerminalAnswers) {
  OpenSessionAndResetCt();
  StartLog();
  std::string logDuringCall;
  WatchedDriver::duringData = [&] { logDuringCall = LogContents(); };
  ParameterDialogScript script([](HWND dialog) { Enter(dialog, "0"); });
  sim_.Queue({0, {0x62, 0x00}});
  ExpectMessage();
  Click(IDC_BCS_REQUEST_ICC);
  EXPECT_EQ(logDuringCall, "2,1    2012010103800100\r\n");
  EXPECT_EQ(LastMessage().icon, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(LogContents(),
            "2,1    2012010103800100\r\n>Warning: No card presented within specified time!\r\n");

  // The other commands log theirs only after the message box.
  sim_.Queue({0, {0x05, 0x90, 0x00}});
  ExpectMessage();
  Click(IDC_BCS_ICC_STATUS);
  EXPECT_EQ(logDuringCall, LogContents().substr(0, logDuringCall.size()));
  EXPECT_EQ(logDuringCall.find("20130080"), std::string::npos);
}

TEST_F(BcsPanelTest, TheWaitingWindowShowsOnlyForAWaitingTimeAndAlwaysGoes) {
  OpenSessionAndResetCt();
  WaitingWindowSeen seen;
  WatchedDriver::duringData = [&] {
    seen = {};
    HWND waiting = FindWindowA("#32770", "Waiting for SmartCard");
    seen.shown = waiting && IsWindowVisible(waiting);
    if (!waiting) return;
    char text[64] = {};
    GetDlgItemTextA(waiting, IDC_WAITING_TEXT, text, sizeof text);
    seen.text = text;
    seen.hasIcon = SendMessageA(GetDlgItem(waiting, IDC_WAITING_ICON), STM_GETICON, 0, 0) != 0;
    seen.mainEnabled = IsWindowEnabled(main_) != 0;
  };
  const struct {
    int button;
    const char* entry;
    int rc;
    bool shown;
    const char* text;
  } cases[] = {
      {IDC_BCS_REQUEST_ICC, "10", 0, true, "Waiting for smart card insertion..."},
      {IDC_BCS_EJECT_ICC, "3", -10, true, "Waiting for smart card removal..."},
      {IDC_BCS_REQUEST_ICC, "0", 0, false, ""},
      {IDC_BCS_EJECT_ICC, "0", 0, false, ""},
  };
  for (const auto& c : cases) {
    ParameterDialogScript script([&](HWND dialog) { Enter(dialog, c.entry); });
    sim_.Queue({c.rc, {0x90, 0x00}});
    ExpectMessage();
    Click(c.button);
    EXPECT_EQ(seen.shown, c.shown) << c.text;
    if (c.shown) {
      EXPECT_EQ(seen.text, c.text);
      EXPECT_TRUE(seen.hasIcon);
      EXPECT_FALSE(seen.mainEnabled) << "the main window takes no input meanwhile";
    }
    EXPECT_EQ(FindWindowA("#32770", "Waiting for SmartCard"), nullptr) << c.text;
    EXPECT_TRUE(IsWindowEnabled(main_));
  }
  EXPECT_EQ(LastMessage().text, "Command successful.");
  EXPECT_EQ(prompt_.Messages()[prompt_.Messages().size() - 3].text, "-10 (ERR_TRANS) ");
}
