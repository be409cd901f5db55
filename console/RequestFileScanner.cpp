#include "console/RequestFileScanner.h"

#include <algorithm>

namespace {

// fgets into a 1000-byte buffer takes at most 999 characters: a longer line comes in pieces.
constexpr std::size_t kMaxPiece = 999;
constexpr std::size_t kChunk = 64 * 1024;

// Drops a display prefix of the given length when the text holds a ':'; a shorter text gives nothing.
std::string_view DropPrefixIfColon(std::string_view text, std::size_t prefix) {
  if (text.find(':') == std::string_view::npos) return text;
  return text.size() <= prefix ? std::string_view() : text.substr(prefix);
}

// The text of a line up to its first '\'; cut reports whether there was one.
std::string_view BeforeBackslash(std::string_view piece, bool& cut) {
  const std::size_t backslash = piece.find('\\');
  cut = backslash != std::string_view::npos;
  return piece.substr(0, backslash);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

RequestFileScanner::RequestFileScanner(std::string_view bytes)
    : read_([bytes](char* buffer, std::size_t capacity) mutable {
        const std::size_t n = std::min(capacity, bytes.size());
        std::copy_n(bytes.data(), n, buffer);
        bytes.remove_prefix(n);
        return n;
      }) {}

void RequestFileScanner::Fill() {
  char chunk[kChunk];
  const std::size_t n = read_(chunk, sizeof chunk);
  if (n == 0) {
    end_ = true;
    if (pendingCr_) buffer_.push_back('\r');
    pendingCr_ = false;
    return;
  }
  // A text-mode read: CR LF counts as one line feed, also across two reads.
  for (std::size_t i = 0; i < n; ++i) {
    const char c = chunk[i];
    if (pendingCr_) {
      pendingCr_ = false;
      if (c != '\n') buffer_.push_back('\r');
    }
    if (c == '\r') {
      pendingCr_ = true;
      continue;
    }
    // A NUL would end the text for every C string after this; it is shown as a blank instead.
    buffer_.push_back(c == '\0' ? ' ' : c);
  }
}

bool RequestFileScanner::NextPiece(std::string_view& piece) {
  if (position_ > kChunk) {
    buffer_.erase(0, position_);
    position_ = 0;
  }
  while (!end_ && buffer_.size() - position_ <= kMaxPiece) Fill();
  if (position_ >= buffer_.size()) return false;
  pieceLine_ = lineNumber_;
  const std::string_view rest = std::string_view(buffer_).substr(position_);
  const std::size_t lineFeed = rest.substr(0, kMaxPiece).find('\n');
  if (lineFeed == std::string_view::npos) {
    piece = rest.substr(0, kMaxPiece);
    position_ += piece.size();
  } else {
    piece = rest.substr(0, lineFeed);
    position_ += lineFeed + 1;
    ++lineNumber_;
  }
  return true;
}

bool RequestFileScanner::Next(RequestLine& line) {
  std::string_view piece;
  while (NextPiece(piece)) {
    if (piece.empty()) continue;
    const char first = piece.front();
    line.line = pieceLine_;
    bool cut = false;
    if (first == '#') {
      line.kind = RequestLine::Kind::Description;
      line.text = DropPrefixIfColon(piece.substr(1), 7);
      return true;
    }
    if (IsDigit(first)) {
      line.kind = RequestLine::Kind::Command;
      line.text = DropPrefixIfColon(BeforeBackslash(piece, cut), 7);
      while (cut && NextPiece(piece)) line.text += DropPrefixIfColon(BeforeBackslash(piece, cut), 7);
      return true;
    }
    if (first == '>') {
      line.kind = RequestLine::Kind::Skipped;
      line.text = BeforeBackslash(piece.substr(1), cut);
      while (cut && NextPiece(piece)) line.text += BeforeBackslash(piece, cut);
      return true;
    }
  }
  return false;
}
