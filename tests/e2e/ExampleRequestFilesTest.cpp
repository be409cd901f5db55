// The example request files as a user runs them: each loads in the console's reader, and its
// commands, sent in order to one simulated terminal as the console sends them, all get an answer
// that shows the terminal or the card understood them. The example cards' files say the answer
// each command must get, in the ">" lines after it, and get it from their card.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "console/CommandText.h"
#include "console/RequestFile.h"
#include "sim/zemtrak/TerminalSim.h"
#include "tests/e2e/ExpectedAnswers.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> RequestFilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".req") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<fs::path> ExampleFiles() { return RequestFilesIn(KELVANOR_EXAMPLES_DIR); }

// Each beside the card file of the same name.
std::vector<fs::path> CardExampleFiles() { return RequestFilesIn(fs::path(KELVANOR_EXAMPLES_DIR) / "cards"); }

std::string FileContents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Status words that say the command itself was wrong, or that it never reached the card.
const char* Refusal(unsigned statusWord) {
  switch (statusWord) {
    case 0x6D00:
      return "unknown instruction";
    case 0x6E00:
      return "unknown class";
    case 0x6700:
      return "wrong length";
    case 0x6A00:
      return "wrong parameters";
    case 0x64A1:
      return "no activated card";
    default:
      return nullptr;
  }
}

std::string HexText(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char pair[4];
  for (std::uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02X ", b);
    text += pair;
  }
  return text;
}

std::optional<std::string> ReadWhole(const std::string& path) {
  if (!fs::is_regular_file(path)) return std::nullopt;
  return FileContents(path);
}

}  // namespace

// The form the examples keep so that they load alike in every reader and show no display prefix.
TEST(ExampleRequestFiles, KeepTheirForm) {
  auto files = ExampleFiles();
  const auto cards = CardExampleFiles();
  ASSERT_FALSE(files.empty());
  ASSERT_FALSE(cards.empty());
  files.insert(files.end(), cards.begin(), cards.end());
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    const std::string bytes = FileContents(file);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::size_t start = 0;
    std::string previous;
    while (start < bytes.size()) {
      const std::size_t end = bytes.find("\r\n", start);
      ASSERT_NE(end, std::string::npos) << "a line without CR LF at byte " << start;
      const std::string line = bytes.substr(start, end - start);
      start = end + 2;
      EXPECT_EQ(line.find_first_of(":\\\r\n"), std::string::npos) << line;
      ASSERT_FALSE(line.empty());
      if (line[0] == '#') {
        EXPECT_GT(line.size(), 1u) << "empty description";
        EXPECT_NE(line[1], ' ') << line;
      } else if (line[0] == '>') {
        EXPECT_TRUE(previous.size() &&
                    (previous[0] == '>' || std::isdigit(static_cast<unsigned char>(previous[0]))))
            << "an expected answer after its command: " << line;
      } else {
        EXPECT_TRUE(line[0] >= '0' && line[0] <= '9') << line;
      }
      previous = line;
    }
  }
}

TEST(ExampleRequestFiles, EveryCommandGetsAMeaningfulAnswerFromTheSimulatedTerminal) {
  for (const auto& file : ExampleFiles()) {
    SCOPED_TRACE(file.filename().string());
    CommandLists lists;
    ASSERT_TRUE(LoadRequestText(FileContents(file), lists));
    ASSERT_GT(lists.commandCount, 0);
    EXPECT_EQ(lists.descriptionCount, lists.commandCount) << "every command has its description";

    // The manual clock lets the examples' waits for a card run out at once.
    sim::TerminalSim terminal({}, std::make_unique<sim::ManualClock>());
    ASSERT_EQ(terminal.Init(0, 0), 0);
    for (int i = 0; i < lists.commandCount; ++i) {
      lists.commandSelection = static_cast<std::int16_t>(i);
      const std::string_view text = CommandToSend(false, {}, lists);
      SCOPED_TRACE(std::string(text));
      CommandAddresses addresses;
      std::vector<std::uint8_t> command;
      ASSERT_EQ(ParseCommandText(text, addresses, command), CommandTextVerdict::Accepted);
      std::uint8_t dad = addresses.destination, sad = addresses.source;
      std::uint16_t lenr = 2048;
      std::vector<std::uint8_t> response(lenr);
      ASSERT_EQ(terminal.Data(0, &dad, &sad, static_cast<std::uint16_t>(command.size()), command.data(),
                              &lenr, response.data()),
                0);
      ASSERT_GE(lenr, 2u);
      const unsigned statusWord = response[lenr - 2] << 8 | response[lenr - 1];
      const char* refusal = Refusal(statusWord);
      EXPECT_EQ(refusal, nullptr) << std::hex << statusWord << ": " << refusal;
      EXPECT_EQ(dad, 2) << "answered to the host";
    }
    EXPECT_EQ(terminal.Close(0), 0);
  }
}

TEST(ExampleRequestFiles, EachExampleCardGivesTheAnswersItsRequestFileExpects) {
  for (const auto& file : CardExampleFiles()) {
    SCOPED_TRACE(file.filename().string());
    const fs::path card = fs::path(file).replace_extension(".card");
    ASSERT_TRUE(fs::exists(card)) << "a request file beside its card file";
    const std::string text = FileContents(file);
    CommandLists lists;
    ASSERT_TRUE(LoadRequestText(text, lists));
    std::string fault;
    const std::vector<cli::RequestStep> steps = Steps(text, fault);
    ASSERT_EQ(fault, "");
    ASSERT_EQ(static_cast<std::size_t>(lists.commandCount), steps.size())
        << "the console takes every command";

    const std::string settings = "[Card]\r\nFile=" + card.filename().string() + "\r\n";
    sim::TerminalSim terminal([&] { return std::optional<std::string>(settings); },
                              std::make_unique<sim::ManualClock>(),
                              {[&] { return file.parent_path().string() + "/"; }, ReadWhole});
    ASSERT_EQ(terminal.Init(0, 0), 0) << terminal.CardFileProblem().value_or("");
    for (int i = 0; i < lists.commandCount; ++i) {
      const cli::RequestStep& step = steps[static_cast<std::size_t>(i)];
      SCOPED_TRACE(step.command);
      ASSERT_EQ(std::string(lists.commands[static_cast<std::size_t>(i)]), step.command);
      CommandAddresses addresses;
      std::vector<std::uint8_t> command;
      ASSERT_EQ(ParseCommandText(step.command, addresses, command), CommandTextVerdict::Accepted);
      std::uint8_t dad = addresses.destination, sad = addresses.source;
      std::uint16_t lenr = 2048;
      std::vector<std::uint8_t> response(lenr);
      const int rc = terminal.Data(0, &dad, &sad, static_cast<std::uint16_t>(command.size()), command.data(),
                                   &lenr, response.data());
      response.resize(rc == 0 ? lenr : 0);
      ASSERT_TRUE(step.expected.Checked()) << "every command of an example card says what it expects";
      EXPECT_TRUE(step.expected.MetBy(rc, response)) << "rc " << rc << ", answer " << HexText(response);
    }
    EXPECT_EQ(terminal.Close(0), 0);
  }
}
