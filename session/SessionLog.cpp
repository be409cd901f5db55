#include "session/SessionLog.h"

#include <sys/stat.h>

#include <algorithm>

namespace {
// Whether there is a file to ask about, not whether it can be read: a file that exists but cannot be
// read must not be emptied without the question.
bool FileExists(const std::string& path) {
  struct stat existing;
  return stat(path.c_str(), &existing) == 0;
}
}  // namespace

SessionLog::Outcome SessionLog::StartOrClose(LogQuestions& questions) {
  if (enabled_) {
    enabled_ = false;
    Close();
    return Outcome::Closed;
  }
  enabled_ = true;
  // Binary mode with CR LF written here gives the same bytes on every platform.
  if (!FileExists(path_)) {
    file_ = std::fopen(path_.c_str(), "wb");
  } else if (questions.AskContinueExisting()) {
    file_ = std::fopen(path_.c_str(), "r+b");
    if (file_) std::fseek(file_, 0, SEEK_END);
  } else {
    file_ = std::fopen(path_.c_str(), "wb");
  }
  if (!file_) {
    enabled_ = false;
    questions.ReportOpenError(path_);
    return Outcome::Failed;
  }
  return Outcome::Started;
}

void SessionLog::Close() {
  enabled_ = false;
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

void SessionLog::Write(std::string_view text) {
  if (!enabled_ || !file_) return;
  // A line at a time, not a character: a long response's line would otherwise cost more than
  // everything else a command does.
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::fwrite(text.data(), 1, end, file_);
    if (end == text.size()) break;
    std::fwrite("\r\n", 1, 2, file_);
    text.remove_prefix(end + 1);
  }
  std::fflush(file_);
}
