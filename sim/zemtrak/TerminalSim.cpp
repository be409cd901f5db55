#include "sim/zemtrak/TerminalSim.h"

#include <algorithm>
#include <cstring>

namespace sim {

// Short enough to show whole in the main window's banner line.
std::string DefaultVersionText() { return "ZEMTRAK simulated terminal 2.0"; }

TerminalSim::TerminalSim(SettingsSource settings, std::unique_ptr<Clock> clock, CardFileAccess files)
    : settingsSource_(std::move(settings)),
      files_(std::move(files)),
      clock_(std::move(clock)),
      slot_(*clock_),
      terminal_(slot_),
      sessions_([this](std::uint16_t pn) { return pn == 0 || pn == port_ ? &terminal_ : nullptr; }) {}

bool TerminalSim::ApplySettings() {
  const std::optional<std::string> text = settingsSource_ ? settingsSource_() : std::nullopt;
  settings_ = text ? ParseSettings(*text) : Settings{};
  const std::string folder = files_.folder ? files_.folder() : std::string();
  LoadedCards loaded = cardFiles_.Load(settings_.cardFiles, folder, files_.read);
  {
    std::lock_guard lock(problemMutex_);
    problem_ = loaded.problem;
  }
  if (loaded.problem) return false;
  slot_.SetFileCards(std::move(loaded.cards));
  port_ = settings_.port;
  terminal_.SetManufacturer(settings_.manufacturer);
  terminal_.SetStatusObjects(settings_.statusObjects);
  slot_.SetAutomation(settings_.automation);
  // The card a person put in or took out stays so until the settings ask for another start.
  const bool fromFile = !settings_.cardFiles.empty();
  const std::tuple<bool, std::size_t, std::string> card{
      settings_.cardInserted, fromFile ? kFirstFileCard : BuiltInCard(settings_.cardType),
      fromFile ? settings_.cardFiles.front() : std::string()};
  if (appliedCard_ == card) return true;
  appliedCard_ = card;
  if (settings_.cardInserted) {
    slot_.Insert(std::get<1>(card));
  } else {
    slot_.Remove();
  }
  return true;
}

int TerminalSim::Init(std::uint16_t ctn, std::uint16_t pn) {
  std::lock_guard lock(mutex_);
  if (!ApplySettings()) return terminal::ct::kErrCt;
  const int rc = sessions_.Init(ctn, pn);
  openSessions_ = sessions_.OpenCount();
  return rc;
}

int TerminalSim::Close(std::uint16_t ctn) {
  std::lock_guard lock(mutex_);
  const int rc = sessions_.Close(ctn);
  openSessions_ = sessions_.OpenCount();
  return rc;
}

int TerminalSim::Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc,
                      const std::uint8_t* command, std::uint16_t* lenr, std::uint8_t* response) {
  if (!dad || !sad || !lenr || (lenc && !command)) return kErrInvalid;
  std::lock_guard lock(mutex_);
  const std::uint16_t capacity = *lenr;
  lastCommand_ = RecordedCommand{
      ctn, *dad, *sad, capacity,
      lenc ? std::vector<std::uint8_t>(command, command + lenc) : std::vector<std::uint8_t>()};

  if (!script_.empty()) {
    ScriptedAnswer answer = std::move(script_.front());
    script_.pop_front();
    const std::size_t n = std::min<std::size_t>(answer.response.size(), capacity);
    if (response && n) std::memcpy(response, answer.response.data(), n);
    *lenr = answer.reportedLength.value_or(static_cast<std::uint16_t>(answer.response.size()));
    if (answer.dad) *dad = *answer.dad;
    if (answer.sad) *sad = *answer.sad;
    return answer.rc;
  }

  busy_ = true;
  const int rc = sessions_.Data(ctn, dad, sad, lenc, command, lenr, response);
  busy_ = false;
  return rc;
}

int TerminalSim::Version(char* buffer, int) {
  if (!buffer) return kErrInvalid;
  std::lock_guard lock(mutex_);
  const std::string text = versionText_.value_or(CardFileProblem().value_or(DefaultVersionText()));
  const std::size_t n = std::min(text.size(), kVersionCapacity);
  std::memcpy(buffer, text.data(), n);
  if (n < kVersionCapacity) buffer[n] = '\0';
  return kOk;
}

void TerminalSim::QueueAnswer(ScriptedAnswer answer) {
  std::lock_guard lock(mutex_);
  script_.push_back(std::move(answer));
}

void TerminalSim::SetVersionText(std::string text) {
  std::lock_guard lock(mutex_);
  versionText_ = std::move(text);
}

void TerminalSim::UseDefaultVersionText() {
  std::lock_guard lock(mutex_);
  versionText_.reset();
}

std::optional<RecordedCommand> TerminalSim::LastCommand() const {
  std::lock_guard lock(mutex_);
  return lastCommand_;
}

void TerminalSim::Reset() {
  std::lock_guard lock(mutex_);
  sessions_.CloseAll();
  openSessions_ = 0;
  script_.clear();
  versionText_.reset();
  lastCommand_.reset();
  appliedCard_.reset();
  settings_ = {};
  port_ = settings_.port;
  slot_.Restart();
  terminal_.Reset();
  cardFiles_.Forget();
  std::lock_guard problemLock(problemMutex_);
  problem_.reset();
}

bool TerminalSim::CloseAllSessions() {
  std::unique_lock lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock()) return false;
  sessions_.CloseAll();
  openSessions_ = 0;
  terminal_.Reset();
  return true;
}

std::optional<std::string> TerminalSim::CardFileProblem() const {
  std::lock_guard lock(problemMutex_);
  return problem_;
}

Settings TerminalSim::CurrentSettings() const {
  std::lock_guard lock(mutex_);
  return settings_;
}

}  // namespace sim
