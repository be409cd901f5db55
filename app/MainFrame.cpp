#include "app/MainFrame.h"

#include "app/AnswerDetailsDialog.h"
#include "app/Banner.h"
#include "app/ConfigDialogs.h"
#include "bcs/BcsPanelDialog.h"
#include "console/TestConsole.h"
#include "ctapi/CtExchange.h"
#include "ctapi/ZemtrakDriver.h"
#include "resources/ResourceIds.h"
#include "session/SessionLog.h"
#include "win/Menu.h"
#include "win/UserPrompt.h"

namespace {

class MenuLogQuestions : public LogQuestions {
 public:
  explicit MenuLogQuestions(HWND owner) : owner_(owner) {}
  bool AskContinueExisting() override {
    return Prompts().Message(owner_, "Continue the existing file KELVAN.LOG?", "Kelvanor",
                             MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  void ReportOpenError(const std::string& path) override {
    Prompts().Message(owner_, "Error during open file: " + path, "Kelvanor", MB_OK | MB_ICONSTOP);
  }

 private:
  HWND owner_;
};

HBITMAP LoadNamedBitmap(const char* name) { return LoadBitmapA(GetModuleHandleA(nullptr), name); }

}  // namespace

MainFrame::MainFrame() {
  Log().Close();
  FrameParams params;
  params.title = "Test Tovamic ";
  params.style = WS_OVERLAPPEDWINDOW;
  params.rect = {150, 50, 590, 340};
  params.menuId = IDR_MAINMENU;
  params.iconId = IDI_KELVANOR;
  Create(params);
  bannerKey_ = LoadNamedBitmap("BITMAP1");
  bannerPicture_ = LoadNamedBitmap("BITMAP4");
  titleKey_ = LoadNamedBitmap("BITMAP6");
  titlePicture_ = LoadNamedBitmap("BITMAP5");
}

MainFrame::~MainFrame() {
  for (HBITMAP b : {bannerKey_, bannerPicture_, titleKey_, titlePicture_})
    if (b) DeleteObject(b);
}

const MessageEntry MainFrame::kMessages[] = {
    OnMessage(WM_PAINT, &MainFrame::OnPaint),
    OnMessage(WM_CLOSE, &MainFrame::OnClose),
    OnCommand(ID_EXIT, &MainFrame::OnClose),
    OnCommand(ID_CT_NUMBER, &MainFrame::OnCtNumber),
    OnCommand(ID_PORT_NUMBER, &MainFrame::OnPortNumber),
    OnCommand(ID_LOG_FILE, &MainFrame::OnLogFile),
    OnCommand(ID_CT_BCS, &MainFrame::OnCtBcs),
    OnCommand(ID_TEST_CT, &MainFrame::OnTestCt),
    OnCommand(ID_ANSWER_DETAILS, &MainFrame::OnAnswerDetails),
};

std::span<const MessageEntry> MainFrame::MessageTable() const { return kMessages; }

void MainFrame::OnPaint() {
  PAINTSTRUCT ps;
  HDC paintDc = BeginPaint(hwnd_, &ps);
  SetTextAlign(paintDc, TA_LEFT | TA_TOP);
  RECT client;
  GetClientRect(hwnd_, &client);
  const std::string version = ReadDriverVersion(ZemtrakDriver());

  // Drawn through a context of the whole client area, not the paint context, so the pictures are
  // redrawn whole whatever part was uncovered.
  HDC windowDc = GetDC(hwnd_);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  HGDIOBJ original = SelectObject(memoryDc, bannerKey_);
  BitBlt(windowDc, client.left + 60, client.top + 20, 270, 100, memoryDc, 0, 0, SRCCOPY);
  SelectObject(memoryDc, bannerPicture_);
  BitBlt(windowDc, client.left + 60, client.top + 20, 270, 100, memoryDc, 0, 0, SRCINVERT);
  SelectObject(memoryDc, titleKey_);
  BitBlt(windowDc, client.left + 65, client.top + 90, 270, 50, memoryDc, 0, 0, SRCCOPY);
  SelectObject(memoryDc, titlePicture_);
  BitBlt(windowDc, client.left + 65, client.top + 90, 270, 50, memoryDc, 0, 0, SRCINVERT);
  SelectObject(memoryDc, original);
  DeleteDC(memoryDc);
  ReleaseDC(hwnd_, windowDc);

  lastBanner_ = BannerLines(version);
  int y = 130;
  for (const std::string& line : lastBanner_) {
    TextOutA(paintDc, client.left + 60, client.top + y, line.c_str(), static_cast<int>(line.size()));
    y += 30;
  }
  EndPaint(hwnd_, &ps);
}

void MainFrame::OnClose() {
  Log().Close();
  DestroyWindow(hwnd_);
}

void MainFrame::OnCtNumber() { OpenCtNumberDialog(hwnd_); }

void MainFrame::OnPortNumber() { OpenPortNumberDialog(hwnd_); }

void MainFrame::OnCtBcs() { OpenBcsPanel(hwnd_); }
void MainFrame::OnTestCt() { OpenTestConsole(hwnd_); }
void MainFrame::OnAnswerDetails() { OpenAnswerDetails(hwnd_); }

void MainFrame::OnLogFile() {
  MenuLogQuestions questions(hwnd_);
  switch (Log().StartOrClose(questions)) {
    case SessionLog::Outcome::Started:
      SetPopupItem(hwnd_, 1, 2, "Close &Log-File", ID_LOG_FILE);
      break;
    case SessionLog::Outcome::Closed:
      SetPopupItem(hwnd_, 1, 2, "Start &Log-File", ID_LOG_FILE);
      break;
    case SessionLog::Outcome::Failed:
      return;
  }
  RedrawMenuBar(hwnd_);
}
