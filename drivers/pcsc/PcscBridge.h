#pragma once
// The driver behind the PC/SC ZEMTRAK.DLL and libctapi-pcsc.so: CT-API sessions on CT-BCS
// terminals, one for each PC/SC reader in use. PC/SC faults during a CT_data call come back as
// ERR_TRANS. CT_close from another thread ends a wait of that terminal at once.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "drivers/pcsc/PcscApi.h"
#include "drivers/pcsc/PcscCardSlot.h"
#include "terminal/BcsTerminal.h"
#include "terminal/CtApiSessions.h"

namespace pcsc {

// The [PCSC] Reader key of the settings file: part of the name of the reader to use, or empty.
std::string ReaderSetting(std::string_view iniText);

class PcscBridge {
 public:
  static constexpr std::size_t kVersionCapacity = 120;

  // Read at each CT_init: part of the wanted reader's name, empty for any.
  using ReaderNameSource = std::function<std::string()>;

  PcscBridge(Api& api, ReaderNameSource readerName, Now now = SteadyNow);
  ~PcscBridge();

  int Init(std::uint16_t ctn, std::uint16_t pn);
  int Close(std::uint16_t ctn);
  int Data(std::uint16_t ctn, std::uint8_t* dad, std::uint8_t* sad, std::uint16_t lenc,
           const std::uint8_t* command, std::uint16_t* lenr, std::uint8_t* response);
  // "PC/SC: " and the reader of the latest CT_init, or why it found none; cut to 120 bytes, which
  // are NUL-terminated when shorter.
  int Version(char* buffer, int selector);

 private:
  struct Reader {
    Reader(Api& api, const std::string& name, const Now& now) : slot(api, name, now), terminal(slot) {}
    PcscCardSlot slot;
    terminal::BcsTerminal terminal;
  };

  terminal::BcsTerminal* Open(std::uint16_t pn);
  void SetVersion(std::string text);

  Api& api_;
  ReaderNameSource readerName_;
  Now now_;
  terminal::CtApiSessions sessions_;

  std::mutex callMutex_;     // one CT-API call at a time
  std::mutex readersMutex_;  // the readers, for CT_close's cancel while a call runs
  std::map<std::string, std::unique_ptr<Reader>> readers_;
  std::map<std::uint16_t, Reader*> sessionReaders_;
  Reader* opened_ = nullptr;
  std::mutex versionMutex_;
  std::string version_;
};

}  // namespace pcsc
