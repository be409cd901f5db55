#pragma once
#include <cstdio>
#include <string>
#include <string_view>

// What starting the log asks of the user.
class LogQuestions {
 public:
  virtual ~LogQuestions() = default;
  // The log file exists already: true keeps its lines, false empties it.
  virtual bool AskContinueExisting() = 0;
  virtual void ReportOpenError(const std::string& path) = 0;
};

// The session log KELVAN.LOG: plain text, CR LF line ends, no header or time stamps.
class SessionLog {
 public:
  enum class Outcome { Started, Closed, Failed };

  SessionLog() = default;
  SessionLog(const SessionLog&) = delete;
  SessionLog& operator=(const SessionLog&) = delete;
  ~SessionLog() { Close(); }

  void SetPath(std::string path) { path_ = std::move(path); }
  const std::string& Path() const { return path_; }

  // The log menu command: closes a running log, or starts one (asking whether to continue an
  // existing file).
  Outcome StartOrClose(LogQuestions& questions);
  void Close();
  bool Enabled() const { return enabled_; }
  bool IsOpen() const { return file_ != nullptr; }

  // Writes the text as given while logging is on; each line reaches the file at once, so nothing
  // logged is lost if a driver takes the process down. While the start question is still open
  // (enabled, no file yet) the text is dropped.
  void Write(std::string_view text);

 private:
  std::string path_;
  bool enabled_ = false;
  std::FILE* file_ = nullptr;
};

// The one program-wide log.
SessionLog& Log();
