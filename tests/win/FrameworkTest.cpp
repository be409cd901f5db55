// The window framework driven through real windows made from the program's own templates.
#include <gtest/gtest.h>

#include "resources/ResourceIds.h"
#include "tests/support/MessagePump.h"
#include "win/Dialog.h"
#include "win/FrameWindow.h"
#include "win/Menu.h"

namespace {

struct Events {
  int selections = 0;
  int oks = 0;
  bool destroyed = false;
  bool deleted = false;
  bool aliveAfterClose = false;
};

// The port number template with a table binding the list and the Close button.
class ProbeDialog : public Dialog {
 public:
  explicit ProbeDialog(Events& events) : Dialog(IDD_PORT_NUMBER), events_(events) {}
  ~ProbeDialog() override { events_.deleted = true; }

 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;

  void OnSelection() { ++events_.selections; }
  void OnDestroy() override { events_.destroyed = true; }

  Events& events_;
};

const MessageEntry ProbeDialog::kMessages[] = {
    OnNotify(IDC_PORT_LIST, CBN_SELCHANGE, &ProbeDialog::OnSelection),
};
std::span<const MessageEntry> ProbeDialog::MessageTable() const { return kMessages; }

// Binds the Close button to a handler that closes the dialog itself, as the panels do.
class SelfClosingProbe : public Dialog {
 public:
  explicit SelfClosingProbe(Events& events) : Dialog(IDD_PORT_NUMBER), events_(events) {}
  ~SelfClosingProbe() override { events_.deleted = true; }

 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;
  void OnCloseButton() {
    Close();
    // The dispatch still runs on this object after the handler returns.
    events_.aliveAfterClose = !events_.deleted;
  }
  Events& events_;
};

const MessageEntry SelfClosingProbe::kMessages[] = {OnCommand(IDCANCEL, &SelfClosingProbe::OnCloseButton)};
std::span<const MessageEntry> SelfClosingProbe::MessageTable() const { return kMessages; }

// A modal dialog from the CT number template that binds OK itself.
class ModalProbe : public Dialog {
 public:
  explicit ModalProbe(Events& events) : Dialog(IDD_CT_NUMBER), events_(events) {}

 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;
  bool OnInitDialog() override {
    PostMessageA(Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
  }
  void OnOk() {
    ++events_.oks;
    EndDialog(Handle(), 42);
  }
  Events& events_;
};

const MessageEntry ModalProbe::kMessages[] = {OnCommand(IDOK, &ModalProbe::OnOk)};
std::span<const MessageEntry> ModalProbe::MessageTable() const { return kMessages; }

// Opens a modeless probe; it owns itself from then on.
HWND OpenProbe(Events& events) {
  auto* dialog = new ProbeDialog(events);
  if (!dialog->CreateModeless(nullptr)) {
    delete dialog;
    return nullptr;
  }
  return dialog->Handle();
}

}  // namespace

TEST(Dialog, ModelessDispatchesNotificationsThroughItsTable) {
  Events events;
  HWND hwnd = OpenProbe(events);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  HWND list = GetDlgItem(hwnd, IDC_PORT_LIST);
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_PORT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_PORT_LIST, CBN_DROPDOWN), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(events.selections, 1) << "only the bound notification code reaches the handler";
  SendMessageA(GetDlgItem(hwnd, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(events.destroyed);
  EXPECT_TRUE(events.deleted) << "a modeless dialog deletes itself";
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Dialog, HandlerThatClosesItsOwnDialogRunsToItsEndBeforeTheDialogIsDeleted) {
  Events events;
  auto* dialog = new SelfClosingProbe(events);
  ASSERT_TRUE(dialog->CreateModeless(nullptr));
  HWND hwnd = dialog->Handle();
  SendMessageA(GetDlgItem(hwnd, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TRUE(events.aliveAfterClose) << "deleted while its handler was still running";
  EXPECT_TRUE(events.deleted) << "deleted once the dispatch has unwound";
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Dialog, EnterInAModelessDialogWithoutOkClosesItForReal) {
  Events events;
  HWND hwnd = OpenProbe(events);
  ASSERT_NE(hwnd, nullptr);
  MSG enter{hwnd, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(Dialog::PreTranslate(enter)) << "the dialog gets its keyboard input";
  PumpMessages();
  EXPECT_TRUE(events.destroyed) << "never merely hidden";
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Dialog, CloseBoxOfAModelessDialogDestroysIt) {
  Events events;
  HWND hwnd = OpenProbe(events);
  ASSERT_NE(hwnd, nullptr);
  SendMessageA(hwnd, WM_CLOSE, 0, 0);  // posts IDCANCEL
  PumpMessages();
  EXPECT_TRUE(events.deleted);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Dialog, ModalRunsUntilItsHandlerEndsIt) {
  Events events;
  ModalProbe dialog(events);
  EXPECT_EQ(dialog.RunModal(nullptr), 42);
  EXPECT_EQ(events.oks, 1);
}

namespace {

class ProbeFrame : public FrameWindow {
 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;
  void OnCtNumber() {}
  void OnExit() {}
};

const MessageEntry ProbeFrame::kMessages[] = {
    OnCommand(ID_CT_NUMBER, &ProbeFrame::OnCtNumber),
    OnCommand(ID_EXIT, &ProbeFrame::OnExit),
};
std::span<const MessageEntry> ProbeFrame::MessageTable() const { return kMessages; }

bool Grayed(HMENU popup, int position) {
  return (GetMenuState(popup, position, MF_BYPOSITION) & MF_GRAYED) != 0;
}

}  // namespace

TEST(FrameWindow, GreysEveryItemWithoutAHandlerWhenItsPopupOpens) {
  ProbeFrame frame;
  FrameParams params;
  params.title = "probe";
  params.rect = {0, 0, 300, 200};
  params.menuId = IDR_MAINMENU;
  ASSERT_TRUE(frame.Create(params));
  HWND hwnd = frame.Handle();
  HMENU config = GetSubMenu(GetMenu(hwnd), 0);

  SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(config), 0);
  EXPECT_FALSE(Grayed(config, 0)) << "CT Number has a handler";
  EXPECT_TRUE(Grayed(config, 1)) << "Port Number has none here";

  SetPopupItem(hwnd, 0, 0, "CT &Number", ID_INERT);
  SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(config), 0);
  EXPECT_TRUE(Grayed(config, 0)) << "the inert id shows disabled";
  EXPECT_EQ(PopupItemLabel(hwnd, 0, 0), "CT &Number");
  EXPECT_EQ(PopupItemId(hwnd, 0, 0), static_cast<UINT>(ID_INERT));

  SetPopupItem(hwnd, 0, 0, "CT &Number", ID_CT_NUMBER);
  SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(config), 0);
  EXPECT_FALSE(Grayed(config, 0));

  HMENU windowMenu = GetSystemMenu(hwnd, FALSE);
  ASSERT_NE(windowMenu, nullptr);
  SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(windowMenu), MAKELPARAM(0, TRUE));
  EXPECT_FALSE(GetMenuState(windowMenu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED)
      << "the window menu is left alone";
  DestroyWindow(hwnd);
  PumpMessages();
}
