#pragma once
// Where a subcommand writes: standard output for results, standard error for errors and progress.
// Tests capture both as strings.

#include <string>
#include <string_view>
#include <vector>

namespace cli {

class CliConsole {
 public:
  virtual ~CliConsole() = default;
  virtual void Out(std::string_view text) = 0;
  virtual void Err(std::string_view text) = 0;
  // Progress lines go to standard error only when a person watches it.
  virtual bool ErrIsTerminal() const = 0;
};

// The process's own standard output and error.
class StdConsole final : public CliConsole {
 public:
  void Out(std::string_view text) override;
  void Err(std::string_view text) override;
  bool ErrIsTerminal() const override;
};

class StringConsole final : public CliConsole {
 public:
  void Out(std::string_view text) override { out += text; }
  void Err(std::string_view text) override { err += text; }
  bool ErrIsTerminal() const override { return false; }
  std::string out;
  std::string err;
};

// Lines for a person on standard output, each ended.
inline void WriteLines(const std::vector<std::string>& lines, CliConsole& console) {
  std::string text;
  for (const std::string& line : lines) (text += line) += '\n';
  console.Out(text);
}

}  // namespace cli
