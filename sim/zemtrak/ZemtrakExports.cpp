// ZEMTRAK.DLL stand-in: the CT-API exports by ordinal plus the test control exports by name.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "common/IniFile.h"
#include "common/win/ThisDll.h"
#include "ctapi/CtApi.h"
#include "sim/zemtrak/TerminalSim.h"
#include "sim/zemtrak/ZemtrakControl.h"
#include "sim/zemtrak/win/ControlWindow.h"

namespace {
// ZEMTRAK.INI beside the DLL.
std::optional<std::string> SettingsText() {
  const std::string file = FileBesideThisDll("ZEMTRAK.INI");
  if (file.empty()) return std::nullopt;
  return ini::ReadTextFile(file);
}

sim::TerminalSim& Sim() {
  // Card files are named relative to ZEMTRAK.INI's folder, which is the DLL's.
  static sim::TerminalSim terminal(
      SettingsText, std::make_unique<sim::RealClock>(),
      {[] { return sim::FolderOf(FileBesideThisDll("ZEMTRAK.INI")); }, ini::ReadTextFile});
  return terminal;
}
}  // namespace

extern "C" {

signed char CTAPI_CALL CT_init(unsigned short ctn, unsigned short pn) {
  const int rc = Sim().Init(ctn, pn);
  // Started here, never in DllMain: a thread may not wait for the loader lock's holder.
  if (rc == 0 && Sim().CurrentSettings().window) sim::StartControlWindow(Sim(), ThisDll());
  return static_cast<signed char>(rc);
}

signed char CTAPI_CALL CT_close(unsigned short ctn) { return static_cast<signed char>(Sim().Close(ctn)); }

signed char CTAPI_CALL CT_data(unsigned short ctn, unsigned char* dad, unsigned char* sad,
                               unsigned short lenc, unsigned char* command, unsigned short* lenr,
                               unsigned char* response) {
  return static_cast<signed char>(Sim().Data(ctn, dad, sad, lenc, command, lenr, response));
}

signed char CTAPI_CALL CT_version(char* buffer, int selector) {
  return static_cast<signed char>(Sim().Version(buffer, selector));
}

void ZemtrakSimQueueAnswer(int rc, const unsigned char* response, unsigned responseLength, int dad, int sad,
                           int reportedLength) {
  sim::ScriptedAnswer answer;
  answer.rc = rc;
  if (response) answer.response.assign(response, response + responseLength);
  if (dad >= 0) answer.dad = static_cast<std::uint8_t>(dad);
  if (sad >= 0) answer.sad = static_cast<std::uint8_t>(sad);
  if (reportedLength >= 0) answer.reportedLength = static_cast<std::uint16_t>(reportedLength);
  Sim().QueueAnswer(std::move(answer));
}

void ZemtrakSimSetVersion(const char* text, unsigned length) {
  if (!text) {
    Sim().UseDefaultVersionText();
    return;
  }
  Sim().SetVersionText(std::string(text, std::min<std::size_t>(length, sim::TerminalSim::kVersionCapacity)));
}

int ZemtrakSimLastCommand(unsigned char* buffer, unsigned capacity, unsigned* ctn, unsigned char* dad,
                          unsigned char* sad) {
  const auto last = Sim().LastCommand();
  if (!last) return -1;
  if (buffer) std::memcpy(buffer, last->bytes.data(), std::min<std::size_t>(capacity, last->bytes.size()));
  if (ctn) *ctn = last->ctn;
  if (dad) *dad = last->dad;
  if (sad) *sad = last->sad;
  return static_cast<int>(last->bytes.size());
}

void ZemtrakSimReset() { Sim().Reset(); }

}  // extern "C"

// Keep the control exports' types in step with the header the tests use.
[[maybe_unused]] static ZemtrakSimQueueAnswerFn* const kCheckQueue = &ZemtrakSimQueueAnswer;
[[maybe_unused]] static ZemtrakSimSetVersionFn* const kCheckVersion = &ZemtrakSimSetVersion;
[[maybe_unused]] static ZemtrakSimLastCommandFn* const kCheckLast = &ZemtrakSimLastCommand;
[[maybe_unused]] static ZemtrakSimResetFn* const kCheckReset = &ZemtrakSimReset;
