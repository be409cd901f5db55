#pragma once
// The main window with the CT-BCS panel open on the simulated driver, prompts answered from a
// script, and the log in a directory of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/MainFrame.h"
#include "ctapi/CtApi.h"
#include "tests/support/ScriptedPrompt.h"
#include "tests/support/ZemtrakSim.h"

// ZEMTRAK.DLL's driver, with a look at the program's windows while CT_data runs.
struct WatchedDriver {
  static inline std::function<void()> duringData;
  static CtDriver Driver();
};

// Runs steps on the modal "Request and Eject ICC" dialog from inside its own message loop. The
// steps must end the dialog (OK accepted, Escape or the close box), or the test hangs until its timeout.
class ParameterDialogScript {
 public:
  explicit ParameterDialogScript(std::function<void(HWND)> steps);
  ~ParameterDialogScript();
  bool Ran() const { return ran_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  static inline ParameterDialogScript* current_ = nullptr;
  std::function<void(HWND)> steps_;
  UINT_PTR timer_ = 0;
  bool ran_ = false;
};

class BcsPanelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Click(int id) const;
  bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(panel_, id)) != 0; }
  std::string Text(int id) const;
  // Every panel button's enabled state, by id.
  std::map<int, bool> Buttons() const;
  void StartLog();
  std::string LogContents() const;
  const AskedMessage& LastMessage() const { return prompt_.Messages().back(); }
  // Answers OK to the next message box.
  void ExpectMessage() { prompt_.AnswerMessage(IDOK); }
  // CT_init and Reset CT answered 90 00: every command button usable.
  void OpenSessionAndResetCt();

  ZemtrakSim sim_;
  ScriptedPrompt prompt_;
  std::unique_ptr<MainFrame> frame_;
  HWND main_ = nullptr;
  HWND panel_ = nullptr;
  std::filesystem::path dir_;
};
