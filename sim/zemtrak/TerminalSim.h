#pragma once
// A CT-BCS card terminal with a card behind it, standing in for the ZEMTRAK.DLL driver.
// Portable: the DLL exports forward here, and the simulation is unit-tested natively.

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sim {

// A canned driver answer for tests; it takes precedence over the simulation.
struct ScriptedAnswer {
  int rc = 0;
  std::vector<std::uint8_t> response;
  std::optional<std::uint8_t> dad;  // written back when set
  std::optional<std::uint8_t> sad;
  std::optional<std::uint16_t> reportedLength;  // lenr written back; defaults to the response size
};

struct RecordedCommand {
  std::uint16_t ctn = 0;
  std::uint8_t dad = 0;
  std::uint8_t sad = 0;
  std::uint16_t capacity = 0;
  std::vector<std::uint8_t> bytes;
};

class TerminalSim {
 public:
  static constexpr int kOk = 0;
  static constexpr int kErrInvalid = -1;
  static constexpr int kErrMemory = -11;
  static constexpr std::size_t kVersionCapacity = 120;

  int Init(std::uint16_t ctn, std::uint16_t pn);
  int Close(std::uint16_t ctn);
  int Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc,
           const std::uint8_t* command, std::uint16_t* lenr, std::uint8_t* response);
  void Version(char* buffer, int selector);

  void QueueAnswer(ScriptedAnswer answer);
  // Bytes copied as given, up to 120; the text is NUL-terminated only if it is shorter than that.
  void SetVersionText(std::string text);
  void UseDefaultVersionText() { versionText_.reset(); }
  const std::optional<RecordedCommand>& LastCommand() const { return lastCommand_; }
  // Forget open terminals, scripts and the version text.
  void Reset();

 private:
  std::vector<std::uint8_t> Simulate(const std::vector<std::uint8_t>& command) const;

  std::set<std::uint16_t> open_;
  std::deque<ScriptedAnswer> script_;
  std::optional<std::string> versionText_;  // the default text when unset
  std::optional<RecordedCommand> lastCommand_;
};

std::string DefaultVersionText();

}  // namespace sim
