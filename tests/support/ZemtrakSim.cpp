#include "tests/support/ZemtrakSim.h"

#include <algorithm>
#include <stdexcept>

#include "ctapi/ZemtrakDriver.h"

// Referencing the binding is what makes the program import ZEMTRAK.DLL at all.
ZemtrakSim::ZemtrakSim() : module_((ZemtrakDriver(), GetModuleHandleA("ZEMTRAK.DLL"))) {
  if (!module_) throw std::runtime_error("ZEMTRAK.DLL is not loaded");
  Reset();
}

void ZemtrakSim::Queue(const ScriptedDriverAnswer& a) const {
  Get<ZemtrakSimQueueAnswerFn>("ZemtrakSimQueueAnswer")(
      a.rc, a.response.data(), static_cast<unsigned>(a.response.size()), a.dad, a.sad, a.reportedLength);
}

void ZemtrakSim::SetVersion(const std::string& bytes) const {
  Get<ZemtrakSimSetVersionFn>("ZemtrakSimSetVersion")(bytes.data(), static_cast<unsigned>(bytes.size()));
}

void ZemtrakSim::UseDefaultVersion() const {
  Get<ZemtrakSimSetVersionFn>("ZemtrakSimSetVersion")(nullptr, 0);
}

bool ZemtrakSim::LastCommand(SentCommand& command) const {
  unsigned char buffer[4096];
  const int n = Get<ZemtrakSimLastCommandFn>("ZemtrakSimLastCommand")(buffer, sizeof buffer, &command.ctn,
                                                                      &command.dad, &command.sad);
  if (n < 0) return false;
  command.bytes.assign(buffer, buffer + std::min<int>(n, sizeof buffer));
  return true;
}

void ZemtrakSim::Reset() const { Get<ZemtrakSimResetFn>("ZemtrakSimReset")(); }
