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
#include <tuple>
#include <vector>

#include "sim/card/Clock.h"
#include "sim/card/SimCardSlot.h"
#include "sim/zemtrak/CardFiles.h"
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

// Where the card files the settings name are found, and how they are read.
struct CardFileAccess {
  // The settings file's folder, with its separator at the end, asked at each CT_init.
  std::function<std::string()> folder;
  FileReader read;
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
                       std::unique_ptr<Clock> clock = std::make_unique<RealClock>(),
                       CardFileAccess files = {});

  // A card file that cannot be used makes CT_init fail with ERR_CT; CT_version then says why.

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
  // What was wrong with a card file at the latest CT_init, as CT_version says it.
  std::optional<std::string> CardFileProblem() const;

 private:
  // False when a card file named in them cannot be used.
  bool ApplySettings();

  SettingsSource settingsSource_;
  CardFileAccess files_;
  CardFiles cardFiles_;
  std::unique_ptr<Clock> clock_;
  SimCardSlot slot_;
  terminal::BcsTerminal terminal_;
  terminal::CtApiSessions sessions_;

  mutable std::mutex mutex_;
  std::uint16_t port_ = 1;
  Settings settings_;
  // The starting card last put in place: inserted or not, which, and the card file behind it.
  std::optional<std::tuple<bool, std::size_t, std::string>> appliedCard_;
  std::deque<ScriptedAnswer> script_;
  std::optional<std::string> versionText_;  // the default text when unset
  std::optional<RecordedCommand> lastCommand_;
  std::atomic<std::size_t> openSessions_{0};
  std::atomic<bool> busy_{false};
  mutable std::mutex problemMutex_;  // not mutex_, which a waiting CT_data holds
  std::optional<std::string> problem_;
};

std::string DefaultVersionText();

}  // namespace sim
