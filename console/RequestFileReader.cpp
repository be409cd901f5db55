#include <algorithm>

#include "console/RequestFile.h"

namespace {

// Reads like fgets into a 1000-byte buffer from a text-mode file: CR LF counts as one line feed,
// and one read takes at most 999 characters, so a longer line comes in pieces.
class PieceReader {
 public:
  explicit PieceReader(std::string_view bytes) {
    text_.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
      // A NUL would end the text for every C string after this; it is shown as a blank instead.
      text_.push_back(bytes[i] == '\0' ? ' ' : bytes[i]);
    }
  }

  // The next piece without its line feed; false at the end of the file.
  bool Next(std::string_view& piece) {
    if (position_ >= text_.size()) return false;
    constexpr std::size_t kMaxPiece = 999;
    const std::string_view rest = std::string_view(text_).substr(position_);
    const std::size_t lineFeed = rest.substr(0, kMaxPiece).find('\n');
    if (lineFeed == std::string_view::npos) {
      piece = rest.substr(0, kMaxPiece);
      position_ += piece.size();
    } else {
      piece = rest.substr(0, lineFeed);
      position_ += lineFeed + 1;
    }
    return true;
  }

 private:
  std::string text_;
  std::size_t position_ = 0;
};

// Drops a display prefix of the given length when the text holds a ':'; a shorter text gives nothing.
std::string_view DropPrefixIfColon(std::string_view text, std::size_t prefix) {
  if (text.find(':') == std::string_view::npos) return text;
  return text.size() <= prefix ? std::string_view() : text.substr(prefix);
}

// The text of a command or continuation line up to its first '\'; cut reports whether there was one.
std::string_view CommandPart(std::string_view piece, bool& cut) {
  const std::size_t backslash = piece.find('\\');
  cut = backslash != std::string_view::npos;
  return DropPrefixIfColon(piece.substr(0, backslash), 7);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string& RequestFileName() {
  static std::string name = "tm.req";
  return name;
}

bool LoadRequestText(std::string_view bytes, CommandLists& lists) {
  for (auto& text : lists.commands) text.clear();
  for (auto& text : lists.descriptions) text.clear();
  lists.commandCount = lists.descriptionCount = 0;
  lists.commandSelection = lists.descriptionSelection = 0;
  bool pendingDescription = false;

  PieceReader reader(bytes);
  std::string_view piece;
  while (reader.Next(piece)) {
    if (piece.empty()) continue;
    const char first = piece.front();
    if (first == '#') {
      lists.descriptions[lists.descriptionCount] = std::string(DropPrefixIfColon(piece.substr(1), 7));
      pendingDescription = true;
    } else if (IsDigit(first)) {
      if (!pendingDescription) lists.descriptions[lists.descriptionCount] = " ";
      pendingDescription = false;
      if (++lists.descriptionCount == CommandLists::kCapacity) return false;
      bool cut = false;
      std::string command(CommandPart(piece, cut));
      while (cut && reader.Next(piece)) command += CommandPart(piece, cut);
      lists.commands[lists.commandCount++] = std::move(command);
    } else if (first == '>') {
      while (piece.find('\\') != std::string_view::npos && reader.Next(piece)) {
      }
    }
  }
  return true;
}
