#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "session/SessionLog.h"

namespace fs = std::filesystem;

namespace {

struct Questions : LogQuestions {
  std::deque<bool> answers;
  int asked = 0;
  std::vector<std::string> errors;
  std::function<void()> whileAsking;

  bool AskContinueExisting() override {
    ++asked;
    if (whileAsking) whileAsking();
    const bool answer = answers.empty() ? false : answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  void ReportOpenError(const std::string& path) override { errors.push_back(path); }
};

class SessionLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kelvanor-log-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    log_.SetPath((dir_ / "KELVAN.LOG").string());
  }
  void TearDown() override {
    log_.Close();
    fs::remove_all(dir_);
  }
  std::string Contents() const {
    std::ifstream in(log_.Path(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void StartWriteClose(Questions& q, const std::string& line) {
    ASSERT_EQ(log_.StartOrClose(q), SessionLog::Outcome::Started);
    log_.Write(line);
    ASSERT_EQ(log_.StartOrClose(q), SessionLog::Outcome::Closed);
  }

  fs::path dir_;
  SessionLog log_;
};

}  // namespace

TEST_F(SessionLogTest, NewFileIsCreatedWithoutAQuestionAndLinesEndInCrLf) {
  Questions q;
  ASSERT_EQ(log_.StartOrClose(q), SessionLog::Outcome::Started);
  EXPECT_EQ(q.asked, 0);
  EXPECT_TRUE(log_.Enabled());
  log_.Write("CT_init (CTn: 0, PTn: 0)\n");
  EXPECT_EQ(Contents(), "CT_init (CTn: 0, PTn: 0)\r\n") << "each line reaches the file at once";
  log_.Write(">-1 (ERR_INVALID) \n");
  EXPECT_EQ(log_.StartOrClose(q), SessionLog::Outcome::Closed);
  EXPECT_FALSE(log_.Enabled());
  EXPECT_FALSE(log_.IsOpen());
  log_.Write("after close\n");
  EXPECT_EQ(Contents(), "CT_init (CTn: 0, PTn: 0)\r\n>-1 (ERR_INVALID) \r\n");
}

TEST_F(SessionLogTest, ExistingFileYesAppendsNoEmpties) {
  Questions q;
  StartWriteClose(q, "first\n");

  q.answers = {true};
  StartWriteClose(q, "second\n");
  EXPECT_EQ(q.asked, 1);
  EXPECT_EQ(Contents(), "first\r\nsecond\r\n");

  q.answers = {false};
  StartWriteClose(q, "third\n");
  EXPECT_EQ(q.asked, 2);
  EXPECT_EQ(Contents(), "third\r\n");
}

TEST_F(SessionLogTest, LineWrittenWhileTheQuestionIsOpenIsDropped) {
  Questions q;
  StartWriteClose(q, "old\n");
  q.answers = {true};
  q.whileAsking = [&] {
    EXPECT_TRUE(log_.Enabled());
    log_.Write("during the question\n");
  };
  StartWriteClose(q, "new\n");
  EXPECT_EQ(Contents(), "old\r\nnew\r\n");
}

TEST_F(SessionLogTest, FileThatCannotBeOpenedReportsThePathAndLeavesLoggingOff) {
  Questions q;
  log_.SetPath((dir_ / "missing-directory" / "KELVAN.LOG").string());
  EXPECT_EQ(log_.StartOrClose(q), SessionLog::Outcome::Failed);
  ASSERT_EQ(q.errors.size(), 1u);
  EXPECT_EQ(q.errors[0], log_.Path());
  EXPECT_FALSE(log_.Enabled());
  log_.Write("nowhere\n");
  EXPECT_FALSE(fs::exists(log_.Path()));
  // The next start tries again rather than closing a log that never opened.
  EXPECT_EQ(log_.StartOrClose(q), SessionLog::Outcome::Failed);
}

TEST_F(SessionLogTest, CloseAtProgramEndClosesTheFileAndClearsTheFlag) {
  Questions q;
  ASSERT_EQ(log_.StartOrClose(q), SessionLog::Outcome::Started);
  log_.Write("line\n");
  log_.Close();
  EXPECT_FALSE(log_.Enabled());
  EXPECT_FALSE(log_.IsOpen());
  EXPECT_EQ(Contents(), "line\r\n");
}

#ifdef _WIN32
#include <windows.h>

// Another program holds KELVAN.LOG so that it may be written but not read: the file is still
// there, so the user is asked, and Yes must not empty it.
TEST_F(SessionLogTest, ExistingFileThatCannotBeReadIsAskedAboutAndKept) {
  { std::ofstream(log_.Path(), std::ios::binary) << "old line\r\n"; }
  HANDLE holder = CreateFileA(log_.Path().c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  Questions q;
  q.answers = {true};
  EXPECT_EQ(log_.StartOrClose(q), SessionLog::Outcome::Failed);
  EXPECT_EQ(q.asked, 1);
  EXPECT_EQ(q.errors.size(), 1u);
  CloseHandle(holder);
  EXPECT_EQ(Contents(), "old line\r\n");
}
#endif
