// Request files in kelvanor.exe on the simulated terminal: an example file opened through the real
// Open dialog, its commands sent, the list edited in the list editor and saved through the real
// Save dialog, and the saved file opened again; each example card with its request file.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/e2e/ExpectedAnswers.h"
#include "tests/e2e/ProgramTest.h"

namespace fs = std::filesystem;

namespace {

constexpr UINT kTestCt = 40001, kExit = 40005;
constexpr int kCtInit = 1000, kCtData = 1001, kCtClose = 1004, kOutput = 1007, kCommands = 1008,
              kOpenFile = 1012, kModifyList = 1013, kResetCt = 1014, kNextCommand = 1018,
              kDescriptions = 1021;
constexpr int kEditorCommand = 1021, kEditorDescription = 1024, kAddCommand = 1051, kDeleteCommand = 1053;

class RequestFileProgramTest : public ProgramTest {};

// Answers the common file dialog with the given caption as a user does: the path typed into its
// file name field, then Enter. False when the dialog did not come or did not close.
bool AnswerFileDialog(const Program& program, const char* caption, const fs::path& path) {
  HWND dialog = WaitFor([&] { return FindProgramWindow(program, "#32770", caption); });
  if (!dialog) return false;
  // The file name field: an extended combo box (cmb13) in the explorer-style dialog, its edit inside
  // its combo box; an edit (edt1) in the old style.
  HWND field = nullptr;
  if (HWND extended = GetDlgItem(dialog, 0x47c))
    field = ComboEdit(FindWindowExA(extended, nullptr, "ComboBox", nullptr));
  if (!field) field = GetDlgItem(dialog, 0x480);
  if (!field) return false;
  Type(field, path.string());
  PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(field, WM_KEYUP, VK_RETURN, 0);
  return WaitFor([&] { return !IsWindow(dialog); });
}

// Picks an entry of a drop-down list as a mouse would, with the notification to its dialog.
void Pick(HWND dialog, int listId, int index) {
  HWND list = GetDlgItem(dialog, listId);
  SendMessageA(list, CB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// Asked in UTF-16: Wine hands the ANSI form of this message to another process in UTF-16 anyway.
std::string Entry(HWND dialog, int listId, int index) {
  HWND list = GetDlgItem(dialog, listId);
  const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return "(no entry)";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  std::string ascii;
  for (wchar_t c : text.substr(0, static_cast<std::size_t>(length)))
    ascii += c < 0x80 ? static_cast<char>(c) : '?';
  return ascii;
}

int EntryCount(HWND dialog, int listId) {
  return static_cast<int>(SendDlgItemMessageA(dialog, listId, CB_GETCOUNT, 0, 0));
}

// The bytes of the console's output line "0,2    90 00 "; nothing when it shows no answer.
std::optional<std::vector<std::uint8_t>> AnswerShown(const std::string& line) {
  std::istringstream in(line);
  std::string addresses, pair;
  in >> addresses;
  if (addresses.find(',') == std::string::npos) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  while (in >> pair) bytes.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
  return bytes;
}

}  // namespace

TEST_F(RequestFileProgramTest, ExampleLoadsRunsIsEditedSavedAndLoadsAgain) {
  const fs::path example = dir_ / "ct-bcs.req", edited = dir_ / "edited.req";
  fs::copy_file(BinDirectory() / "examples" / "ct-bcs.req", example);
  Program program(BinDirectory() / "kelvanor.exe", dir_);
  ASSERT_TRUE(program.Started());
  HWND main = WaitForMainWindow(program);
  ASSERT_NE(main, nullptr);
  const fs::path log = dir_ / "KELVAN.LOG";
  ASSERT_TRUE(StartLog(main, dir_));
  PostMessageA(main, WM_COMMAND, kTestCt, 0);
  HWND console = WaitFor([&] { return FindProgramWindow(program, "#32770", "Test Tovamic"); });
  ASSERT_NE(console, nullptr);
  auto click = [&](int id) {
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(console, id))) << id;
    SendMessageA(GetDlgItem(console, id), BM_CLICK, 0, 0);
  };
  // Buttons whose handler waits for a dialog are pressed without waiting for the handler.
  auto press = [&](int id) {
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(console, id))) << id;
    PostMessageA(console, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(console, id)));
  };
  HWND output = GetDlgItem(console, kOutput);
  click(kCtInit);
  EXPECT_EQ(Text(output), "CT_init ok");
  click(kResetCt);  // the file buttons come with the first answer of the terminal
  EXPECT_EQ(Text(output), "1,2    90 00 ");

  press(kOpenFile);
  ASSERT_TRUE(AnswerFileDialog(program, "Open File", example));
  ASSERT_EQ(EntryCount(console, kCommands), 6);
  EXPECT_EQ(Entry(console, kDescriptions, 0), "0000 : Reset CT");
  EXPECT_EQ(Entry(console, kCommands, 1), "0001 : 2,1 20110101");
  click(kCtData);
  EXPECT_EQ(Text(output), "1,2    90 00 ");
  click(kNextCommand);
  click(kCtData);
  EXPECT_EQ(Text(output), "1,2    3b 68 00 00 80 4b 4c 56 53 49 4d 01 90 01 ") << "Reset ICC with its ATR";

  // The editor: the waiting Request ICC out, a CT info after Reset ICC in, saved on OK.
  press(kModifyList);
  HWND editor = WaitFor([&] { return FindProgramWindow(program, "#32770", "Modify command list"); });
  ASSERT_NE(editor, nullptr);
  Pick(editor, kEditorCommand, 2);
  SendMessageA(GetDlgItem(editor, kDeleteCommand), BM_CLICK, 0, 0);
  EXPECT_EQ(EntryCount(editor, kEditorCommand), 5);
  Type(ComboEdit(GetDlgItem(editor, kEditorCommand)), "2,1 20130046");
  Type(ComboEdit(GetDlgItem(editor, kEditorDescription)), "CT info once more");
  SendMessageA(GetDlgItem(editor, kAddCommand), BM_CLICK, 0, 0);
  EXPECT_EQ(Entry(editor, kEditorCommand, 2), "0002 : 2,1 20130046");
  PostMessageA(editor, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(editor, IDOK)));
  HWND question = WaitFor([&] { return FindProgramWindow(program, "#32770", "Kelvanor"); });
  ASSERT_NE(question, nullptr) << "no question about saving";
  EXPECT_EQ(Text(GetDlgItem(question, 0xFFFF)), "Do you want to save the changes?");
  SendMessageA(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
  ASSERT_TRUE(AnswerFileDialog(program, "Save File", edited));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
  EXPECT_EQ(FileContents(edited),
            "# Reset CT\r\n2,1 20110000\r\n"
            "# Reset ICC and return the whole ATR\r\n2,1 20110101\r\n"
            "# CT info once more\r\n2,1 20130046\r\n"
            "# ICC status\r\n2,1 20130080\r\n"
            "# CT manufacturer data\r\n2,1 20130046\r\n"
            "# Eject ICC and wait up to 10 seconds for its removal\r\n2,1 201501000380010A\r\n");
  EXPECT_EQ(EntryCount(console, kCommands), 6) << "the console took the edited lists";

  // The saved file loads again; its descriptions gain the blank written after "#".
  press(kOpenFile);
  ASSERT_TRUE(AnswerFileDialog(program, "Open File", edited));
  ASSERT_EQ(EntryCount(console, kCommands), 6);
  EXPECT_EQ(Entry(console, kDescriptions, 2), "0002 :  CT info once more");
  click(kNextCommand);
  click(kNextCommand);
  click(kCtData);
  EXPECT_EQ(Text(output), "1,2    44 45 5a 4d 54 53 49 4d 43 54 30 31 2e 30 30 90 00 ");

  click(kCtClose);
  EXPECT_EQ(Text(output), "CT_close ok");
  click(IDCANCEL);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(console); }));
  PostMessageA(main, WM_COMMAND, kExit, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
  // Commands are logged as their field shows them, list prefix included.
  EXPECT_EQ(FileContents(log),
            "CT_init (CTn: 0, PTn: 0)\r\n>CT_init ok\r\n"
            "2,1 2010000000\r\n#1,2 9000\r\n"
            "File " +
                example.string() +
                " is open.\r\n"
                "0000 : 2,1 20110000\r\n#1,2 9000\r\n"
                "0001 : 2,1 20110101\r\n#1,2 3b680000804b4c5653494d019001\r\n"
                "File " +
                edited.string() +
                " is open.\r\n"
                "0002 : 2,1 20130046\r\n#1,2 44455a4d5453494d435430312e30309000\r\n"
                "CT_close (CTn: 0)\r\n>CT_close ok\r\n");
}

// Each example card in the driver beside its own copy of kelvanor.exe, named in ZEMTRAK.INI there,
// and its request file run command by command in the console.
TEST_F(RequestFileProgramTest, EachExampleCardAnswersItsRequestFile) {
  for (const std::string name : {"two-applications", "t0-get-response", "health-insurance"}) {
    SCOPED_TRACE(name);
    const fs::path run = dir_ / name, requests = run / (name + ".req");
    fs::create_directories(run);
    for (const char* file : {"kelvanor.exe", "ZEMTRAK.DLL"}) fs::copy_file(BinDirectory() / file, run / file);
    for (const auto& entry : fs::directory_iterator(BinDirectory() / "examples" / "cards"))
      fs::copy_file(entry.path(), run / entry.path().filename());
    std::ofstream(run / "ZEMTRAK.INI", std::ios::binary) << "[Card]\r\nFile=" << name << ".card\r\n";
    std::string fault;
    const std::vector<cli::RequestStep> steps = Steps(FileContents(requests), fault);
    ASSERT_EQ(fault, "");
    ASSERT_FALSE(steps.empty());

    Program program(run / "kelvanor.exe", run);
    ASSERT_TRUE(program.Started());
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, kTestCt, 0);
    HWND console = WaitFor([&] { return FindProgramWindow(program, "#32770", "Test Tovamic"); });
    ASSERT_NE(console, nullptr);
    auto click = [&](int id) {
      ASSERT_TRUE(IsWindowEnabled(GetDlgItem(console, id))) << id;
      SendMessageA(GetDlgItem(console, id), BM_CLICK, 0, 0);
    };
    HWND output = GetDlgItem(console, kOutput);
    click(kCtInit);
    ASSERT_EQ(Text(output), "CT_init ok");
    click(kResetCt);
    PostMessageA(console, WM_COMMAND, MAKEWPARAM(kOpenFile, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(console, kOpenFile)));
    ASSERT_TRUE(AnswerFileDialog(program, "Open File", requests));
    ASSERT_EQ(EntryCount(console, kCommands), static_cast<int>(steps.size()));
    for (std::size_t i = 0; i < steps.size(); ++i) {
      SCOPED_TRACE(steps[i].command);
      if (i) click(kNextCommand);
      click(kCtData);
      const std::string shown = Text(output);
      const auto answer = AnswerShown(shown);
      EXPECT_TRUE(answer && steps[i].expected.MetBy(0, *answer)) << shown;
    }
    click(kCtClose);
    click(IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(console); }));
    PostMessageA(main, WM_COMMAND, kExit, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
  }
}
