// A short unattended tour of kelvanor.exe for screenshots:
//   kelvanor_tour.exe [--reader] WORKDIR
// Starts kelvanor.exe beside this program with WORKDIR as its directory (so KELVAN.LOG lands
// there), logs, sends a command in the test console and runs a CT-BCS session, and saves
// main-window.bmp, console.bmp and ct-bcs.bmp there. Every step is checked; the exit code is 0 only
// when all of them gave what they should. On the simulated terminal the answers are known; with
// --reader, on a real reader, the card is asked for and whatever the terminal answers is kept; a
// reader that does not open (its service gone) ends the tour after the console, with exit code 3.
#include <cstdio>
#include <vector>

#include "tests/e2e/ProgramWindows.h"

namespace fs = std::filesystem;

namespace {

constexpr UINT kTestCt = 40001, kCtBcs = 40007, kExit = 40005;
constexpr int kReaderDidNotOpen = 3;

class TourFailed {
 public:
  explicit TourFailed(std::string what) : what_(std::move(what)) {}
  const std::string& What() const { return what_; }

 private:
  std::string what_;
};

void Check(bool ok, const std::string& what) {
  if (!ok) throw TourFailed(what);
}

void Step(const char* what) {
  std::printf("tour: %s\n", what);
  std::fflush(stdout);
}

std::vector<HWND> VisibleWindows(const Program& program) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{program.ProcessId(), {}};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == s.pid && IsWindowVisible(w)) s.found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Copies the part of the screen that the windows cover into a 24-bit BMP file.
void SaveScreenshot(const std::vector<HWND>& windows, const fs::path& file) {
  // Painting happens on the program's own thread; give it a moment after the last action.
  Sleep(800);
  RECT area{};
  for (HWND w : windows) {
    RECT r{};
    GetWindowRect(w, &r);
    UnionRect(&area, &area, &r);
  }
  const int width = area.right - area.left, height = area.bottom - area.top;
  Check(width > 0 && height > 0, "nothing to take a screenshot of for " + file.filename().string());
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  std::vector<char> pixels(stride * static_cast<std::size_t>(height));
  const int lines = GetDIBits(memory, bitmap, 0, height, pixels.data(),
                              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  Check(lines == height, "could not read the screen for " + file.filename().string());
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = static_cast<DWORD>(fileHeader.bfOffBits + pixels.size());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  Check(out.good(), "could not write " + file.string());
}

HWND WaitForWindow(const Program& program, const char* className, const char* caption) {
  HWND w = WaitFor([&] { return FindProgramWindow(program, className, caption); });
  Check(w != nullptr, std::string("the window \"") + caption + "\" did not appear");
  return w;
}

// Clicks a button whose handler then waits for a message box, so without waiting for it.
void Press(HWND dialog, int id) {
  Check(IsWindowEnabled(GetDlgItem(dialog, id)), "button " + std::to_string(id) + " is not enabled");
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Clicks a button and waits for its handler, which may be waiting on the driver, but not forever.
void Click(HWND dialog, int id) {
  Check(IsWindowEnabled(GetDlgItem(dialog, id)), "button " + std::to_string(id) + " is not enabled");
  DWORD_PTR result = 0;
  Check(SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result) != 0,
        "button " + std::to_string(id) + " gave no answer within a minute");
}

HWND WaitForMessage(const Program& program, const std::string& expected) {
  HWND box = WaitForWindow(program, "#32770", "Kelvanor");
  const std::string text = Text(GetDlgItem(box, 0xFFFF));
  Check(text == expected, "message \"" + text + "\" instead of \"" + expected + "\"");
  return box;
}

void Dismiss(HWND box) {
  SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  Check(WaitFor([&] { return !IsWindow(box); }), "a message box did not close");
}

// False when, on a reader, CT_init failed: the console's answer and its screenshot are kept.
bool ConsoleTour(const Program& program, HWND main, const fs::path& workDir, bool reader) {
  constexpr int kCtInit = 1000, kCtData = 1001, kCtClose = 1004, kOutput = 1007, kCommands = 1008,
                kResetCt = 1014;
  Step(reader ? "test console: CT_init, Reset CT, a typed Request ICC waiting up to 10 s for a card"
              : "test console: CT_init, Reset CT, a typed Reset ICC");
  PostMessageA(main, WM_COMMAND, kTestCt, 0);
  HWND console = WaitForWindow(program, "#32770", "Test Tovamic");
  HWND output = GetDlgItem(console, kOutput);
  Click(console, kCtInit);
  if (reader && Text(output) != "CT_init ok") {
    std::printf("tour:   \"%s\"\n", Text(output).c_str());
    SaveScreenshot({main, console}, workDir / "console.bmp");
    Click(console, IDCANCEL);
    Check(WaitFor([&] { return !IsWindow(console); }), "the console did not close");
    return false;
  }
  Check(Text(output) == "CT_init ok", "CT_init in the console: " + Text(output));
  Click(console, kResetCt);
  Check(Text(output) == "1,2    90 00 ", "Reset CT in the console: " + Text(output));
  if (reader) {
    // The whole ATR, with the timer data object: 80 01 0A.
    Type(ComboEdit(GetDlgItem(console, kCommands)), "2,1 201201010380010A00");
    Click(console, kCtData);
    std::printf("tour:   \"%s\"\n", Text(output).c_str());
  } else {
    Type(ComboEdit(GetDlgItem(console, kCommands)), "2,1 20110101");
    Click(console, kCtData);
    Check(Text(output).rfind("1,2    3b ", 0) == 0, "the card's ATR in the console: " + Text(output));
  }
  SaveScreenshot({main, console}, workDir / "console.bmp");
  Click(console, kCtClose);
  Check(Text(output) == "CT_close ok", "CT_close in the console: " + Text(output));
  Click(console, IDCANCEL);
  Check(WaitFor([&] { return !IsWindow(console); }), "the console did not close");
  return true;
}

void BcsPanelTour(const Program& program, HWND main, const fs::path& workDir, bool reader) {
  constexpr int kCtInit = 1038, kCtClose = 1039, kResetCt = 1040, kResetIcc = 1041, kIccStatus = 1030;
  Step(reader ? "CT-BCS panel: CT_init, Reset CT, ICC status" : "CT-BCS panel: CT_init, Reset CT, Reset ICC, ICC status");
  PostMessageA(main, WM_COMMAND, kCtBcs, 0);
  HWND panel = WaitForWindow(program, "#32770", "CT - BCS ");
  Press(panel, kCtInit);
  Dismiss(WaitForMessage(program, "CT_init ok!"));
  Press(panel, kResetCt);
  Dismiss(WaitForMessage(program, "Reset successful."));
  if (!reader) {
    Press(panel, kResetIcc);
    HWND box = WaitForWindow(program, "#32770", "Kelvanor");
    Check(Text(GetDlgItem(box, 0xFFFF)).rfind("Asynchronous ICC, reset successful.\nATR:\n3B ", 0) == 0,
          "Reset ICC in the panel: " + Text(GetDlgItem(box, 0xFFFF)));
    Dismiss(box);
  }
  Press(panel, kIccStatus);
  HWND box = reader ? WaitForWindow(program, "#32770", "Kelvanor") : WaitForMessage(program, "ICC electrically connected.");
  if (reader) std::printf("tour:   \"%s\"\n", Text(GetDlgItem(box, 0xFFFF)).c_str());
  // The answer beside the panel rather than over it.
  RECT panelArea{};
  GetWindowRect(panel, &panelArea);
  SetWindowPos(box, nullptr, panelArea.right + 8, panelArea.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SaveScreenshot(VisibleWindows(program), workDir / "ct-bcs.bmp");
  Dismiss(box);
  Press(panel, kCtClose);
  Dismiss(WaitForMessage(program, "CT_close ok!"));
  Click(panel, IDCANCEL);
  Check(WaitFor([&] { return !IsWindow(panel); }), "the panel did not close");
}

}  // namespace

int main(int argc, char** argv) {
  const bool reader = argc == 3 && std::string(argv[1]) == "--reader";
  if (argc != 2 && !reader) {
    std::fprintf(stderr, "usage: kelvanor_tour [--reader] WORKDIR\n");
    return 2;
  }
  const fs::path workDir = fs::absolute(argv[argc - 1]);
  try {
    Step("starting kelvanor.exe");
    Program program(BinDirectory() / "kelvanor.exe", workDir);
    Check(program.Started(), "kelvanor.exe did not start");
    HWND main = WaitForWindow(program, "KelvanorFrame", "Test Tovamic ");
    Check(StartLog(main, workDir), "KELVAN.LOG was not made");
    SaveScreenshot({main}, workDir / "main-window.bmp");
    const bool opened = ConsoleTour(program, main, workDir, reader);
    if (opened) BcsPanelTour(program, main, workDir, reader);
    Step("exit");
    PostMessageA(main, WM_COMMAND, kExit, 0);
    Check(program.WaitForExit() == 0, "kelvanor.exe did not end cleanly");
    if (!opened) {
      std::fprintf(stderr, "tour: the reader did not open (CT_init failed): the CT-BCS panel was left out\n");
      return kReaderDidNotOpen;
    }
  } catch (const TourFailed& failure) {
    std::fprintf(stderr, "tour failed: %s\n", failure.What().c_str());
    return 1;
  }
  return 0;
}
