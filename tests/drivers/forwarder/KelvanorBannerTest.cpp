// kelvanor.exe itself on the forwarder and Wine's ctapi32: its banner shows the forwarder's text
// naming the driver. The banner is painted, not a control, so the test compares the pixels of its
// version line on screen with that line drawn here the way the program draws it.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "tests/drivers/forwarder/ForwarderCopy.h"

namespace fs = std::filesystem;

namespace {

template <class F>
auto WaitFor(F condition, int milliseconds = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  auto value = condition();
  while (!value && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    value = condition();
  }
  return value;
}

// Pixels of a w x h block, read through a memory bitmap.
class Pixels {
 public:
  Pixels(int w, int h) : width_(w), height_(h) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Pixels() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  std::vector<DWORD> Read() const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width_) * height_);
    SelectObject(dc_, old_);
    GetDIBits(dc_, bitmap_, 0, height_, pixels.data(), &info, DIB_RGB_COLORS);
    SelectObject(dc_, bitmap_);
    return pixels;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// The line as the main window paints it: the context's default font, black on white, at 0, 0.
std::vector<DWORD> Drawn(const std::string& line, SIZE size) {
  Pixels p(size.cx, size.cy);
  RECT all{0, 0, size.cx, size.cy};
  FillRect(p.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  TextOutA(p.Dc(), 0, 0, line.c_str(), static_cast<int>(line.size()));
  return p.Read();
}

std::vector<DWORD> OnScreen(HWND window, POINT at, SIZE size) {
  ClientToScreen(window, &at);
  Pixels p(size.cx, size.cy);
  HDC screen = GetDC(nullptr);
  BitBlt(p.Dc(), 0, 0, size.cx, size.cy, screen, at.x, at.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return p.Read();
}

SIZE Extent(const std::string& line) {
  Pixels p(1, 1);
  SIZE size{};
  GetTextExtentPoint32A(p.Dc(), line.c_str(), static_cast<int>(line.size()), &size);
  return size;
}

HWND FindProcessWindow(DWORD pid, const char* className) {
  for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w;
       w = FindWindowExA(nullptr, w, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

TEST(KelvanorOnTheForwarder, TheBannerShowsTheForwardedDriver) {
  const ForwarderCopy forwarder("kelvanor", "[Driver]\r\nLibrary=ctapi32.dll\r\n");
  fs::copy_file(BinDirectory() / "kelvanor.exe", forwarder.Folder() / "kelvanor.exe");
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string expected = std::string("Tovamic DLL Forwarder to ") + system + "\\ctapi32.dll";
  const std::string other = "Tovamic DLL Forwarder: cannot read " + forwarder.SettingsPath() + " (error 2)";

  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const std::string exe = (forwarder.Folder() / "kelvanor.exe").string();
  std::string commandLine = "\"" + exe + "\"";
  ASSERT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             forwarder.Folder().string().c_str(), &si, &pi));
  HWND main = WaitFor([&] { return FindProcessWindow(pi.dwProcessId, "KelvanorFrame"); });
  EXPECT_NE(main, nullptr) << "kelvanor.exe did not start on the forwarder";
  if (main) {
    const SIZE size = Extent(expected);
    const std::vector<DWORD> want = Drawn(expected, size);
    ASSERT_NE(want, Drawn(other, size)) << "the comparison tells the texts apart";
    // Wide enough for the whole line, which the program's 440-pixel window cuts off.
    SetWindowPos(main, nullptr, 0, 0, 60 + size.cx + 100, 340, SWP_NOMOVE | SWP_NOZORDER);
    const bool shown = WaitFor([&] { return OnScreen(main, {60, 160}, size) == want; });
    EXPECT_TRUE(shown) << "the banner's second line is not \"" << expected << "\"";
    PostMessageA(main, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
