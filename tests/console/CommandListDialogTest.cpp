// The command list editor from its real template, driven while it runs modally.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "console/CommandListEditor.h"
#include "console/CommandLists.h"
#include "console/RequestFile.h"
#include "resources/ResourceIds.h"
#include "tests/support/ModalScript.h"
#include "tests/support/ScriptedPrompt.h"

namespace fs = std::filesystem;

namespace {

class CommandListDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ConsoleLists() = {};
    RequestFileName() = "tm.req";
  }

  bool Run(std::function<void(HWND)> steps) {
    WhenDialogShows("Modify command list", std::move(steps));
    const bool shown = RunCommandListEditor(nullptr);
    EXPECT_TRUE(DialogStepsRan());
    return shown;
  }

  static void Fill(std::initializer_list<std::pair<const char*, const char*>> entries) {
    CommandLists& lists = ConsoleLists();
    for (const auto& [command, description] : entries) {
      lists.commands[lists.commandCount++] = command;
      lists.descriptions[lists.descriptionCount++] = description;
    }
  }

  static void Type(HWND dialog, int field, const char* text) {
    SetDlgItemTextA(dialog, field, text);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(field, CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, field)));
  }
  static void Pick(HWND dialog, int field, int index) {
    SendDlgItemMessageA(dialog, field, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(field, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, field)));
  }
  static void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  static std::vector<std::string> Entries(HWND dialog, int field) {
    std::vector<std::string> entries;
    const auto n = SendDlgItemMessageA(dialog, field, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      char text[700] = {};
      SendDlgItemMessageA(dialog, field, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entries.emplace_back(text);
    }
    return entries;
  }
  static LRESULT Selected(HWND dialog, int field) {
    return SendDlgItemMessageA(dialog, field, CB_GETCURSEL, 0, 0);
  }

  ScriptedPrompt prompt_;
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(CommandListDialogTest, TemplateAndOpeningState) {
  Fill({{"2,1 2010000000", "Reset CT"}, {"2,1 20120100", "Request"}});
  EXPECT_TRUE(Run([](HWND dialog) {
    char title[64] = {};
    GetWindowTextA(dialog, title, sizeof title);
    EXPECT_STREQ(title, "Modify command list");
    for (const auto& [id, caption] : {std::pair{IDOK, "OK"},
                                      {IDCANCEL, "Cancel"},
                                      {IDC_ADD_COMMAND, "Add Command"},
                                      {IDC_CHANGE_COMMAND, "Change Command"},
                                      {IDC_DELETE_COMMAND, "Delete Command"},
                                      {IDC_SAVE_FILE, "Save File"}}) {
      char text[64] = {};
      GetDlgItemTextA(dialog, id, text, sizeof text);
      EXPECT_STREQ(text, caption);
    }
    EXPECT_EQ(Entries(dialog, IDC_EDITOR_COMMAND), (Texts{"0000 : 2,1 2010000000", "0001 : 2,1 20120100"}));
    EXPECT_EQ(Entries(dialog, IDC_EDITOR_DESCRIPTION), (Texts{"0000 : Reset CT", "0001 : Request"}));
    EXPECT_EQ(Selected(dialog, IDC_EDITOR_COMMAND), 0);
    // 600 typed characters at most.
    HWND edit = GetWindow(GetDlgItem(dialog, IDC_EDITOR_COMMAND), GW_CHILD);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 600);
    Click(dialog, IDOK);
  }));
  EXPECT_TRUE(prompt_.Messages().empty()) << "nothing changed, nothing asked";
}

TEST_F(CommandListDialogTest, AddOfAPickedEntryThenOkWithoutSavingHandsTheListsOver) {
  Fill({{"c0", "d0"}, {"c1", "d1"}, {"c2", "d2"}});
  prompt_.AnswerMessage(IDNO);
  Run([](HWND dialog) {
    Pick(dialog, IDC_EDITOR_COMMAND, 1);
    EXPECT_EQ(Selected(dialog, IDC_EDITOR_DESCRIPTION), 1) << "the other field follows";
    Click(dialog, IDC_ADD_COMMAND);
    EXPECT_EQ(Entries(dialog, IDC_EDITOR_COMMAND),
              (Texts{"0000 : c0", "0001 : c1", "0002 : c1", "0003 : c2"}));
    EXPECT_EQ(Selected(dialog, IDC_EDITOR_COMMAND), 2);
    EXPECT_EQ(Selected(dialog, IDC_EDITOR_DESCRIPTION), 2);
    Click(dialog, IDOK);
  });
  ASSERT_EQ(prompt_.Messages().size(), 1u);
  EXPECT_EQ(prompt_.Messages()[0].text, "Do you want to save the changes?");
  EXPECT_EQ(prompt_.Messages()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
  EXPECT_EQ(prompt_.Messages()[0].buttons, static_cast<UINT>(MB_YESNOCANCEL));
  EXPECT_EQ(ConsoleLists().commandCount, 4);
  EXPECT_EQ(ConsoleLists().commands[2], "c1");
  EXPECT_EQ(ConsoleLists().descriptions[2], "d1");
  EXPECT_EQ(ConsoleLists().commands[3], "c2");
}

TEST_F(CommandListDialogTest, CancelRestoresTheCountsAndKeepsTheConsoleTexts) {
  Fill({{"c0", "d0"}});
  prompt_.AnswerMessage(IDNO);
  Run([](HWND dialog) {
    Type(dialog, IDC_EDITOR_COMMAND, "  2,1 20");
    Type(dialog, IDC_EDITOR_DESCRIPTION, "");
    Click(dialog, IDC_ADD_COMMAND);
    Click(dialog, IDC_DELETE_COMMAND);
    Click(dialog, IDC_DELETE_COMMAND);
    EXPECT_TRUE(Entries(dialog, IDC_EDITOR_COMMAND).empty());
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(ConsoleLists().commandCount, 1);
  EXPECT_EQ(ConsoleLists().descriptionCount, 1);
  EXPECT_EQ(ConsoleLists().commands[0], "c0");
}

TEST_F(CommandListDialogTest, AnsweringCancelToTheQuestionKeepsTheEditorOpen) {
  Fill({{"c0", "d0"}});
  prompt_.AnswerMessage(IDCANCEL);
  prompt_.AnswerMessage(IDNO);
  Run([](HWND dialog) {
    Click(dialog, IDC_CHANGE_COMMAND);  // nothing typed, yet modified
    Click(dialog, IDOK);
    EXPECT_TRUE(IsWindowVisible(dialog));
    Click(dialog, IDOK);
  });
  EXPECT_EQ(prompt_.Messages().size(), 2u);
}

TEST_F(CommandListDialogTest, YesThenACancelledSaveDialogStillTakesTheListsOver) {
  prompt_.AnswerMessage(IDYES);
  prompt_.AnswerFile("");
  Run([](HWND dialog) {
    Type(dialog, IDC_EDITOR_COMMAND, "2,1 20");
    Click(dialog, IDC_ADD_COMMAND);
    Click(dialog, IDOK);
  });
  ASSERT_EQ(prompt_.FileRequests().size(), 1u);
  EXPECT_EQ(prompt_.FileRequests()[0].title, "Save File");
  EXPECT_EQ(prompt_.FileRequests()[0].filter, "*.req |*.req| All Files (*.*) |*.*|");
  EXPECT_EQ(prompt_.FileRequests()[0].path, "tm.req");
  EXPECT_EQ(prompt_.FileRequests()[0].defaultExtension, "");
  EXPECT_EQ(ConsoleLists().commandCount, 1);
  EXPECT_EQ(ConsoleLists().commands[0], "2,1 20");
  EXPECT_EQ(ConsoleLists().descriptions[0], " ");
}

TEST_F(CommandListDialogTest, SaveFileWritesTheWorkingListsAndClearsTheQuestion) {
  const fs::path dir = fs::temp_directory_path() / "kelvanor-editor-save";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string path = (dir / "saved").string();  // no extension added
  Fill({{"2,1 2010000000", "Reset CT"}});
  prompt_.AnswerFile(path);
  Run([](HWND dialog) {
    Type(dialog, IDC_EDITOR_COMMAND, "2,1 20130080");
    Type(dialog, IDC_EDITOR_DESCRIPTION, "0001 : Status");
    Click(dialog, IDC_ADD_COMMAND);
    Click(dialog, IDC_SAVE_FILE);
    Click(dialog, IDOK);  // saved: no question
  });
  EXPECT_TRUE(prompt_.Messages().empty());
  EXPECT_EQ(RequestFileName(), path);
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(bytes, "# Reset CT\r\n2,1 2010000000\r\n# Status\r\n2,1 20130080\r\n");
  in.close();
  fs::remove_all(dir);
}

TEST_F(CommandListDialogTest, RefusalsOfAdd) {
  for (int i = 0; i < 99; ++i) Fill({{"c", "d"}});
  ConsoleLists().descriptions[ConsoleLists().descriptionCount++] = "orphan";
  prompt_.AnswerMessage(IDOK);
  prompt_.AnswerMessage(IDOK);
  Run([](HWND dialog) {
    Type(dialog, IDC_EDITOR_COMMAND, "0003 : ");
    Click(dialog, IDC_ADD_COMMAND);
    Type(dialog, IDC_EDITOR_COMMAND, "2,1 20");
    Click(dialog, IDC_ADD_COMMAND);
    EXPECT_EQ(Entries(dialog, IDC_EDITOR_COMMAND).size(), 99u);
    Click(dialog, IDOK);
  });
  ASSERT_EQ(prompt_.Messages().size(), 2u);
  EXPECT_EQ(prompt_.Messages()[0].text, "No command found!");
  EXPECT_EQ(prompt_.Messages()[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(prompt_.Messages()[1].caption, "Kelvanor");
  EXPECT_EQ(prompt_.Messages()[1].icon, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(ConsoleLists().commandCount, 99);
  EXPECT_EQ(ConsoleLists().descriptionCount, 100);
}
