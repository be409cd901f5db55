#pragma once
// The simulated driver behind ZEMTRAK.DLL and libctapi-sim.so: a CT-BCS terminal over the
// simulated card slot, configured from the settings file at each CT_init, plus the scripted answers
// with which tests put any driver behaviour (faults included) ahead of the simulation.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/card/Clock.h"
#include "sim/card/SimCardSlot.h"
#include "sim/zemtrak/Settings.h"
#include "terminal/BcsTerminal.h"
#include "terminal/CtApiSessions.h"

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
  static constexpr int kOk = terminal::ct::kOk;
  static constexpr int kErrInvalid = terminal::ct::kErrInvalid;
  static constexpr int kErrMemory = terminal::ct::kErrMemory;
  static constexpr std::size_t kVersionCapacity = 120;

  // The settings file's text, or nothing when there is none.
  using SettingsSource = std::function<std::optional<std::string>()>;

  explicit TerminalSim(SettingsSource settings = {},
                       std::unique_ptr<Clock> clock = std::make_unique<RealClock>());

  int Init(std::uint16_t ctn, std::uint16_t pn);
  int Close(std::uint16_t ctn);
  int Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc,
           const std::uint8_t* command, std::uint16_t* lenr, std::uint8_t* response);
  int Version(char* buffer, int selector);

  void QueueAnswer(ScriptedAnswer answer);
  // Bytes copied as given, up to 120; the text is NUL-terminated only if it is shorter than that.
  void SetVersionText(std::string text);
  void UseDefaultVersionText();
  std::optional<RecordedCommand> LastCommand() const;
  // Forget open terminals, scripts, the version text and the cards' contents; the next CT_init
  // starts from the settings again.
  void Reset();

  // For the control window, from its own thread.
  SimCardSlot& Slot() { return slot_; }
  std::size_t OpenSessions() const { return openSessions_; }
  bool Busy() const { return busy_; }
  // Closes every terminal number, for a session a client left open; false while a call runs.
  bool CloseAllSessions();
  // The settings read at the latest CT_init.
  Settings CurrentSettings() const;

 private:
  void ApplySettings();

  SettingsSource settingsSource_;
  std::unique_ptr<Clock> clock_;
  SimCardSlot slot_;
  terminal::BcsTerminal terminal_;
  terminal::CtApiSessions sessions_;

  mutable std::mutex mutex_;
  std::uint16_t port_ = 1;
  Settings settings_;
  std::optional<std::pair<bool, CardType>> appliedCard_;  // the starting card last put in place
  std::deque<ScriptedAnswer> script_;
  std::optional<std::string> versionText_;  // the default text when unset
  std::optional<RecordedCommand> lastCommand_;
  std::atomic<std::size_t> openSessions_{0};
  std::atomic<bool> busy_{false};
};

std::string DefaultVersionText();

}  // namespace sim
