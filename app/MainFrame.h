#pragma once
#include <array>
#include <string>

#include "win/FrameWindow.h"

// The main window: the banner, the menu that reaches every function, and the end of the program.
class MainFrame : public FrameWindow {
 public:
  MainFrame();
  ~MainFrame() override;

  // The text lines drawn by the last paint, so tests can see what the banner showed.
  const std::array<std::string, 3>& LastBanner() const { return lastBanner_; }

 private:
  static const MessageEntry kMessages[];
  std::span<const MessageEntry> MessageTable() const override;

  void OnPaint();
  void OnClose();
  void OnCtNumber();
  void OnPortNumber();
  void OnLogFile();
  void OnCtBcs();
  void OnTestCt();
  void OnAnswerDetails();

  HBITMAP bannerKey_ = nullptr;      // "BITMAP1"
  HBITMAP bannerPicture_ = nullptr;  // "BITMAP4"
  HBITMAP titleKey_ = nullptr;       // "BITMAP6"
  HBITMAP titlePicture_ = nullptr;   // "BITMAP5"
  std::array<std::string, 3> lastBanner_;
};
