#pragma once
// A request file's lines as the console classifies them, read piece by piece from any byte source,
// so that a file of any size can be followed without holding it whole.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

struct RequestLine {
  enum class Kind { Description, Command, Skipped };
  Kind kind = Kind::Command;
  // Description: the text after '#' (display prefix dropped); Command: the command text with its
  // continuation lines; Skipped: the text after '>' up to its first '\', and of each line that
  // the '\' made a skipped line too, up to its own first '\'.
  std::string text;
  std::size_t line = 0;  // the physical line it begins on, counted from 1
};

class RequestFileScanner {
 public:
  // Fills the buffer with up to capacity bytes; 0 at the end.
  using ReadBytes = std::function<std::size_t(char* buffer, std::size_t capacity)>;

  explicit RequestFileScanner(ReadBytes read) : read_(std::move(read)) {}
  explicit RequestFileScanner(std::string_view bytes);

  // The next description, command or skipped line; ignored lines are passed over. false at the end.
  bool Next(RequestLine& line);

 private:
  bool NextPiece(std::string_view& piece);
  void Fill();

  ReadBytes read_;
  std::string buffer_;  // CR LF already made LF, NUL already a blank
  std::size_t position_ = 0;
  bool end_ = false;
  bool pendingCr_ = false;  // a CR at the end of the bytes read so far
  std::size_t lineNumber_ = 1;
  std::size_t pieceLine_ = 1;  // where the last piece began
};
