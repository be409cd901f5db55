#include "tests/bcs/BcsPanelFixture.h"

#include <fstream>
#include <iterator>

#include "bcs/BcsPanelDialog.h"
#include "bcs/CardParameters.h"
#include "ctapi/ZemtrakDriver.h"
#include "resources/ResourceIds.h"
#include "session/LogPath.h"
#include "session/SessionLog.h"
#include "session/SessionSettings.h"
#include "tests/support/MessagePump.h"

namespace fs = std::filesystem;

namespace {
signed char CTAPI_CALL WatchedData(unsigned short ctn, unsigned char* dad, unsigned char* sad,
                                   unsigned short lenc, unsigned char* command, unsigned short* lenr,
                                   unsigned char* response) {
  if (WatchedDriver::duringData) WatchedDriver::duringData();
  return ZemtrakDriver().data(ctn, dad, sad, lenc, command, lenr, response);
}
}  // namespace

CtDriver WatchedDriver::Driver() {
  CtDriver driver = ZemtrakDriver();
  driver.data = &WatchedData;
  return driver;
}

ParameterDialogScript::ParameterDialogScript(std::function<void(HWND)> steps) : steps_(std::move(steps)) {
  current_ = this;
  timer_ = SetTimer(nullptr, 0, 10, &Tick);
}

ParameterDialogScript::~ParameterDialogScript() {
  KillTimer(nullptr, timer_);
  current_ = nullptr;
}

void CALLBACK ParameterDialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowA("#32770", "Request and Eject ICC");
  ParameterDialogScript* self = current_;
  if (!dialog || !self || self->ran_) return;
  self->ran_ = true;
  KillTimer(nullptr, self->timer_);
  self->steps_(dialog);
}

void BcsPanelTest::SetUp() {
  Settings() = {};
  CardParams() = {};
  dir_ = fs::temp_directory_path() / "kelvanor-bcs-panel";
  fs::remove_all(dir_);
  fs::create_directories(dir_);
  Log().SetPath(BuildLogPath(dir_.string()));
  frame_ = std::make_unique<MainFrame>();
  main_ = frame_->Handle();
  ASSERT_NE(main_, nullptr);
  ShowWindow(main_, SW_SHOWNORMAL);
  ASSERT_TRUE(OpenBcsPanel(main_, WatchedDriver::Driver()));
  panel_ = FindWindowA("#32770", "CT - BCS ");
  ASSERT_NE(panel_, nullptr);
}

void BcsPanelTest::TearDown() {
  WatchedDriver::duringData = nullptr;
  if (IsWindow(main_)) SendMessageA(main_, WM_CLOSE, 0, 0);
  frame_.reset();
  PumpMessages();
  Log().Close();
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

void BcsPanelTest::Click(int id) const {
  ASSERT_TRUE(Enabled(id)) << "button " << id << " is disabled";
  SendMessageA(GetDlgItem(panel_, id), BM_CLICK, 0, 0);
}

std::string BcsPanelTest::Text(int id) const {
  char buffer[512] = {};
  GetDlgItemTextA(panel_, id, buffer, sizeof buffer);
  return buffer;
}

std::map<int, bool> BcsPanelTest::Buttons() const {
  std::map<int, bool> states;
  for (int id : {IDC_BCS_CT_INIT, IDC_BCS_CT_CLOSE, IDCANCEL, IDC_BCS_RESET_CT, IDC_BCS_CT_INFO,
                 IDC_BCS_RESET_ICC, IDC_BCS_REQUEST_ICC, IDC_BCS_EJECT_ICC, IDC_BCS_ICC_STATUS})
    states[id] = Enabled(id);
  return states;
}

void BcsPanelTest::StartLog() {
  SendMessageA(main_, WM_COMMAND, MAKEWPARAM(ID_LOG_FILE, 0), 0);
  ASSERT_TRUE(Log().Enabled());
}

std::string BcsPanelTest::LogContents() const {
  std::ifstream in(Log().Path(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BcsPanelTest::OpenSessionAndResetCt() {
  ExpectMessage();
  Click(IDC_BCS_CT_INIT);
  sim_.Queue({0, {0x90, 0x00}});
  ExpectMessage();
  Click(IDC_BCS_RESET_CT);
  ASSERT_TRUE(Enabled(IDC_BCS_REQUEST_ICC));
}
