#pragma once
// A request file as a course of steps: each command with its description and the expected answers
// on the ">" lines after it, read as the console reads the file but streamed, so a file of any
// length runs.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "cli/Expectation.h"
#include "console/RequestFileScanner.h"

namespace cli {

struct RequestStep {
  std::size_t line = 0;     // of the command line
  std::string description;  // the console's: the last "#" line since the previous command, or " "
  std::string command;      // the command text as the console takes it from the file
  Expectation expected;
};

class RequestStepReader {
 public:
  explicit RequestStepReader(RequestFileScanner::ReadBytes read) : scanner_(std::move(read)) {}
  explicit RequestStepReader(std::string_view bytes) : scanner_(bytes) {}

  // The next step; false at the end or at a fault, which Error() then tells ("line 7: ...").
  bool Next(RequestStep& step);
  const std::string& Error() const { return error_; }

 private:
  bool Fail(std::size_t line, const std::string& why);

  RequestFileScanner scanner_;
  std::optional<RequestLine> ahead_;  // the line read past the last step
  std::string pendingDescription_;
  bool havePendingDescription_ = false;
  std::string error_;
};

}  // namespace cli
