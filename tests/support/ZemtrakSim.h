#pragma once
// Drives the simulated ZEMTRAK.DLL that the test program is linked against.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/zemtrak/ZemtrakControl.h"

struct ScriptedDriverAnswer {
  int rc = 0;
  std::vector<std::uint8_t> response;
  int dad = -1;
  int sad = -1;
  int reportedLength = -1;
};

struct SentCommand {
  unsigned ctn = 0;
  unsigned char dad = 0;
  unsigned char sad = 0;
  std::vector<std::uint8_t> bytes;
};

class ZemtrakSim {
 public:
  ZemtrakSim();  // resets the simulation
  void Queue(const ScriptedDriverAnswer& answer) const;
  void SetVersion(const std::string& bytes) const;
  void UseDefaultVersion() const;
  bool LastCommand(SentCommand& command) const;
  void Reset() const;

 private:
  template <class F>
  F* Get(const char* name) const {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }
  HMODULE module_;
};
