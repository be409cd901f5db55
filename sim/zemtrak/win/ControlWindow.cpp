#include "sim/zemtrak/win/ControlWindow.h"

#include <atomic>
#include <string>
#include <vector>

#include "sim/zemtrak/StatusText.h"

namespace sim {

namespace {
enum : int { kIdState = 100, kIdInsert, kIdRemove, kIdChooser, kIdCloseSessions = 105 };
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 200;
constexpr char kClassName[] = "ZemtrakSimControl";

// One window per process, reached from its window procedure.
TerminalSim* theTerminal = nullptr;
HMODULE theModule = nullptr;
std::vector<CardChoice> listed;  // what the chooser shows

std::size_t ChosenCard(HWND window) {
  const LRESULT chosen = SendDlgItemMessageA(window, kIdChooser, CB_GETCURSEL, 0, 0);
  return chosen == CB_ERR ? kBuiltInProcessor : static_cast<std::size_t>(chosen);
}

// The chooser follows the card files of the latest CT_init, keeping the choice where it can.
void ListCards(HWND window, const SlotState& slot) {
  std::vector<CardChoice> choices = theTerminal->Slot().Choices();
  if (choices == listed) return;
  const std::size_t chosen = listed.empty() ? slot.card : ChosenCard(window);
  listed = std::move(choices);
  HWND chooser = GetDlgItem(window, kIdChooser);
  SendMessageA(chooser, CB_RESETCONTENT, 0, 0);
  for (const CardChoice& choice : listed)
    SendMessageA(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.name.c_str()));
  SendMessageA(chooser, CB_SETCURSEL, chosen < listed.size() ? chosen : kBuiltInProcessor, 0);
}

void Refresh(HWND window) {
  const SlotState slot = theTerminal->Slot().State();
  ListCards(window, slot);
  const CardChoice card = slot.card < listed.size() ? listed[slot.card] : CardChoice{};
  const std::string text = StatusText(slot, card, theTerminal->OpenSessions(), theTerminal->Busy(),
                                      theTerminal->CardFileProblem());
  char shown[512] = {};
  GetDlgItemTextA(window, kIdState, shown, sizeof shown);
  if (text != shown) SetDlgItemTextA(window, kIdState, text.c_str());
  EnableWindow(GetDlgItem(window, kIdInsert), !slot.present || slot.card != ChosenCard(window));
  EnableWindow(GetDlgItem(window, kIdRemove), slot.present);
  EnableWindow(GetDlgItem(window, kIdCloseSessions), theTerminal->OpenSessions() > 0 && !theTerminal->Busy());
}

void Add(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
  HWND control = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), theModule, nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void CreateControls(HWND window) {
  // Room for the card file's problem under the sessions and the card.
  Add(window, "STATIC", "", SS_LEFT, kIdState, 10, 10, 330, 58);
  Add(window, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kIdChooser, 10, 75, 200, 200);
  Add(window, "BUTTON", "Insert card", BS_PUSHBUTTON | WS_TABSTOP, kIdInsert, 220, 74, 120, 22);
  Add(window, "BUTTON", "Remove card", BS_PUSHBUTTON | WS_TABSTOP, kIdRemove, 220, 100, 120, 22);
  Add(window, "BUTTON", "Reset terminal (close all sessions)", BS_PUSHBUTTON | WS_TABSTOP, kIdCloseSessions,
      10, 128, 330, 22);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls(window);
      Refresh(window);
      SetTimer(window, kRefreshTimer, kRefreshMs, nullptr);
      return 0;
    case WM_TIMER:
      Refresh(window);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kIdInsert:
          theTerminal->Slot().Insert(ChosenCard(window));
          break;
        case kIdRemove:
          theTerminal->Slot().Remove();
          break;
        case kIdChooser:  // a new choice may enable Insert
          break;
        case kIdCloseSessions:
          if (!theTerminal->CloseAllSessions()) MessageBeep(MB_ICONWARNING);
          break;
        default:
          return DefWindowProcA(window, message, wParam, lParam);
      }
      Refresh(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kRefreshTimer);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

DWORD WINAPI WindowThread(void*) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = theModule;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  // No owner: the client's windows belong to a thread that may be blocked in CT_data.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, 350, 160};
  AdjustWindowRect(&frame, style, FALSE);
  HWND window = CreateWindowExA(0, kClassName, "Simulated card terminal", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                theModule, nullptr);
  if (window) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (!IsDialogMessageA(window, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  UnregisterClassA(kClassName, theModule);
  FreeLibraryAndExitThread(theModule, 0);
}

bool TurnedOffByEnvironment() {
  char value[8] = {};
  const DWORD n = GetEnvironmentVariableA("ZEMTRAK_SIM_WINDOW", value, sizeof value);
  return n > 0 && n < sizeof value && std::string(value) == "0";
}
}  // namespace

void StartControlWindow(TerminalSim& terminal, HMODULE module) {
  static std::atomic<bool> started{false};
  if (TurnedOffByEnvironment() || started.exchange(true)) return;
  theTerminal = &terminal;
  // The thread holds its own reference, so the DLL cannot be unloaded under its window.
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  theModule = LoadLibraryA(path);
  if (!theModule) return;
  HANDLE thread = CreateThread(nullptr, 0, WindowThread, nullptr, 0, nullptr);
  if (!thread) {
    FreeLibrary(theModule);
    return;
  }
  CloseHandle(thread);
}

}  // namespace sim
