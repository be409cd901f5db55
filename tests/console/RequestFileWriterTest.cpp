#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "console/RequestFile.h"

namespace fs = std::filesystem;

namespace {

class RequestFileWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kelvanor-req-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::size_t FilesInDir() const {
    return std::distance(fs::directory_iterator(dir_), fs::directory_iterator());
  }

  fs::path dir_;
};

std::array<std::string, CommandLists::kCapacity> Slots(std::initializer_list<const char*> texts) {
  std::array<std::string, CommandLists::kCapacity> slots;
  std::copy(texts.begin(), texts.end(), slots.begin());
  return slots;
}

}  // namespace

TEST_F(RequestFileWriterTest, TwoLinesPerEntryWithCrLfAndABlankAfterTheHash) {
  const auto text = RequestFileText(Slots({"Reset CT", " ", "not written"}),
                                    Slots({"2,1 2010000000", "2,1 20130080", "2,1 99"}), 2);
  EXPECT_EQ(text, "# Reset CT\r\n2,1 2010000000\r\n#  \r\n2,1 20130080\r\n");
}

TEST_F(RequestFileWriterTest, SavedAndLoadedAgainDescriptionsGainALeadingBlank) {
  const fs::path path = dir_ / "round.req";
  ASSERT_TRUE(WriteRequestFile(
      path.string(), RequestFileText(Slots({"Reset CT", " "}), Slots({"2,1 2010000000", "2,1 20"}), 2)));
  CommandLists lists;
  ASSERT_TRUE(LoadRequestText(Read(path), lists));
  ASSERT_EQ(lists.commandCount, 2);
  EXPECT_EQ(lists.commands[0], "2,1 2010000000");
  EXPECT_EQ(lists.commands[1], "2,1 20");
  EXPECT_EQ(lists.descriptions[0], " Reset CT");
  EXPECT_EQ(lists.descriptions[1], "  ");
}

TEST_F(RequestFileWriterTest, ReplacesALongerFileWholeAndLeavesNoTemporaryFile) {
  const fs::path path = dir_ / "list.req";
  Put(path, std::string(5000, 'x'));
  ASSERT_TRUE(WriteRequestFile(path.string(), "# a\r\n2,1 20\r\n"));
  EXPECT_EQ(Read(path), "# a\r\n2,1 20\r\n");
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(RequestFileWriterTest, WithoutRoomForATemporaryFileItWritesInPlaceAndCutsTheOldTail) {
  const fs::path path = dir_ / "list.req";
  Put(path, std::string(5000, 'x'));
  for (int i = 0; i < 100; ++i) fs::create_directory(path.string() + ".kvtmp" + std::to_string(i));
  ASSERT_TRUE(WriteRequestFile(path.string(), "# a\r\n2,1 20\r\n"));
  EXPECT_EQ(Read(path), "# a\r\n2,1 20\r\n");
}

#ifndef _WIN32
// Wine's ReplaceFileA puts the file even in a directory's place, so this runs natively only.
TEST_F(RequestFileWriterTest, AFailedReplaceLeavesTheTargetAndNoTemporaryFile) {
  // A directory in the target's place cannot be replaced by a file.
  const fs::path path = dir_ / "taken.req";
  fs::create_directory(path);
  Put(path / "inside", "kept");
  EXPECT_FALSE(WriteRequestFile(path.string(), "# a\r\n2,1 20\r\n"));
  EXPECT_EQ(Read(path / "inside"), "kept");
  EXPECT_EQ(FilesInDir(), 1u);
}
#endif

TEST_F(RequestFileWriterTest, AMissingDirectoryFails) {
  EXPECT_FALSE(WriteRequestFile((dir_ / "missing" / "x.req").string(), "# a\r\n2,1 20\r\n"));
}
