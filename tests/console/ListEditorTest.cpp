#include <gtest/gtest.h>

#include "console/ListEditor.h"
#include "console/ListEntries.h"

namespace {

class ListEditorTest : public ::testing::Test {
 protected:
  void Fill(std::initializer_list<std::pair<const char*, const char*>> entries) {
    for (const auto& [command, description] : entries) {
      console_.commands[console_.commandCount++] = command;
      console_.descriptions[console_.descriptionCount++] = description;
    }
  }
  std::vector<std::string> Commands(const ListEditor& editor) const {
    return {editor.Working().commands.begin(), editor.Working().commands.begin() + console_.commandCount};
  }
  std::vector<std::string> Descriptions(const ListEditor& editor) const {
    return {editor.Working().descriptions.begin(),
            editor.Working().descriptions.begin() + console_.descriptionCount};
  }

  CommandLists console_;
  EditorLists working_;
};

}  // namespace

TEST(ListEntries, ColonCut) {
  EXPECT_EQ(ColonCut("0003 : 2,1 20"), "2,1 20");
  EXPECT_EQ(ColonCut("2,1 20"), "2,1 20");
  EXPECT_EQ(ColonCut("abc:"), "");
  EXPECT_EQ(ColonCut("abc: "), "");
  EXPECT_EQ(ColonCut("a:bc"), "c");
}

TEST_F(ListEditorTest, AddOnEmptyListsGivesEntryZeroWithABlankDescription) {
  ListEditor editor(console_, working_);
  EXPECT_EQ(editor.Add("  2,1 20", ""), ListEditor::AddResult::Added);
  EXPECT_EQ(Commands(editor), (std::vector<std::string>{"2,1 20"}));
  EXPECT_EQ(Descriptions(editor), (std::vector<std::string>{" "}));
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(editor.CommandEntries(), (std::vector<std::string>{"0000 : 2,1 20"}));
}

TEST_F(ListEditorTest, AddInsertsAfterTheSelectedEntryAndSelectsIt) {
  Fill({{"c0", "d0"}, {"c1", "d1"}, {"c2", "d2"}});
  ListEditor editor(console_, working_);
  editor.Select(1);
  ASSERT_EQ(editor.Add("new", "  spaced"), ListEditor::AddResult::Added);
  EXPECT_EQ(Commands(editor), (std::vector<std::string>{"c0", "c1", "new", "c2"}));
  EXPECT_EQ(Descriptions(editor), (std::vector<std::string>{"d0", "d1", "  spaced", "d2"}));
  EXPECT_EQ(editor.CommandIndex(), 2);
  EXPECT_EQ(editor.DescriptionIndex(), 2);
}

TEST_F(ListEditorTest, AddOfAPickedEntryCopiesItWithoutPrefixes) {
  Fill({{"2,1 20", "Reset"}});
  ListEditor editor(console_, working_);
  ASSERT_EQ(editor.Add("0000 : 2,1 20", "0000 : Reset"), ListEditor::AddResult::Added);
  EXPECT_EQ(Commands(editor), (std::vector<std::string>{"2,1 20", "2,1 20"}));
  EXPECT_EQ(Descriptions(editor), (std::vector<std::string>{"Reset", "Reset"}));
  // A second colon in what is left is cut once more.
  ASSERT_EQ(editor.Add("0001 : 0001 : 2,1 21", "x:"), ListEditor::AddResult::Added);
  EXPECT_EQ(Commands(editor)[2], "2,1 21");
  EXPECT_EQ(Descriptions(editor)[2], " ");
}

TEST_F(ListEditorTest, AddRefusesAnEmptyCommandAndFullListsWithoutChangingAnything) {
  ListEditor editor(console_, working_);
  EXPECT_EQ(editor.Add(" \t", "d"), ListEditor::AddResult::NoCommand);
  EXPECT_EQ(editor.Add("0003 : ", "d"), ListEditor::AddResult::NoCommand);
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(console_.commandCount, 0);

  // A full load leaves 99 commands and 100 descriptions: no room in the description list.
  for (int i = 0; i < 99; ++i) Fill({{"c", "d"}});
  console_.descriptions[console_.descriptionCount++] = "orphan";
  ListEditor full(console_, working_);
  full.Select(99);
  EXPECT_EQ(full.Add("2,1 20", "d"), ListEditor::AddResult::Full);
  EXPECT_EQ(console_.commandCount, 99);
  EXPECT_EQ(console_.descriptionCount, 100);
}

TEST_F(ListEditorTest, ChangeStoresOnlyTypedTextsAndAlwaysMarksModified) {
  Fill({{"c0", "d0"}, {"c1", "d1"}});
  ListEditor editor(console_, working_);
  editor.Select(1);
  editor.Change(std::nullopt, std::nullopt);
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(Commands(editor), (std::vector<std::string>{"c0", "c1"}));
  editor.Change("0001 :  2,1 20", "");
  EXPECT_EQ(Commands(editor)[1], " 2,1 20") << "no trimming on change";
  EXPECT_EQ(Descriptions(editor)[1], "") << "an empty description stays empty";
}

TEST_F(ListEditorTest, DeleteKeepsTheSelectionInRange) {
  Fill({{"c0", "d0"}, {"c1", "d1"}, {"c2", "d2"}, {"c3", "d3"}, {"c4", "d4"}});
  ListEditor editor(console_, working_);
  editor.Delete();
  EXPECT_EQ(Commands(editor), (std::vector<std::string>{"c1", "c2", "c3", "c4"}));
  EXPECT_EQ(editor.CommandIndex(), 0) << "entry 0 stays selected";
  editor.Select(3);
  editor.Delete();
  EXPECT_EQ(Commands(editor), (std::vector<std::string>{"c1", "c2", "c3"}));
  EXPECT_EQ(Descriptions(editor), (std::vector<std::string>{"d1", "d2", "d3"}));
  EXPECT_EQ(editor.CommandIndex(), 2);

  CommandLists empty;
  ListEditor none(empty, working_);
  none.Delete();
  EXPECT_FALSE(none.Modified()) << "nothing to delete";
}

TEST_F(ListEditorTest, DeletingTheOrphanDescriptionKeepsTheLastCommand) {
  for (int i = 0; i < 99; ++i) Fill({{"c", "d"}});
  console_.descriptions[console_.descriptionCount++] = "orphan";
  ListEditor editor(console_, working_);
  editor.Select(99);
  editor.Delete();
  EXPECT_EQ(console_.commandCount, 99);
  EXPECT_EQ(console_.descriptionCount, 99);
  EXPECT_EQ(Descriptions(editor).back(), "d");
}

TEST_F(ListEditorTest, OkHandsTheTextsOverAndCancelRestoresTheCounts) {
  Fill({{"c0", "d0"}});
  {
    ListEditor editor(console_, working_);
    editor.Add("c1", "d1");
    editor.RestoreCounts();
  }
  EXPECT_EQ(console_.commandCount, 1);
  EXPECT_EQ(console_.commands[1], "") << "cancel leaves the console's texts";
  {
    ListEditor editor(console_, working_);
    editor.Change("changed", std::nullopt);
    editor.Add("c1", "d1");
    editor.TakeOver();
  }
  EXPECT_EQ(console_.commandCount, 2);
  EXPECT_EQ(console_.commands[0], "changed");
  EXPECT_EQ(console_.commands[1], "c1");
  EXPECT_EQ(console_.descriptions[1], "d1");
}
