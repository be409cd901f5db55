// libctapi-pcsc.so as a Linux CT-API client uses it, against the real pcscd with the virtual
// reader, and the virtual card started and stopped here by its process id. Run by
// pcsc-stack-test.sh, which provides the daemon: stack-client LIBRARY VICC-COMMAND...
#include <dlfcn.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "ctapi/CtApi.h"
#include "tests/terminal/CommandForms.h"

extern char** environ;

namespace {
using Bytes = std::vector<unsigned char>;
using Clock = std::chrono::steady_clock;

const Bytes kAtr{0x3B, 0x95, 0x13, 0x81, 0x01, 0x80, 0x73, 0xFF, 0x01, 0x00, 0x0B};
const Bytes kHistorical{0x80, 0x73, 0xFF, 0x01, 0x00};
int failures = 0;

std::string Hex(const Bytes& bytes) {
  std::string text;
  char part[4];
  for (unsigned char b : bytes) {
    std::snprintf(part, sizeof part, "%02X ", b);
    text += part;
  }
  return text;
}

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++failures;
}

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class Card {
 public:
  explicit Card(char** command) : command_(command) {}
  ~Card() { Stop(); }
  void Start() {
    if (posix_spawnp(&pid_, command_[0], nullptr, nullptr, command_, environ) != 0) pid_ = 0;
    Check(pid_ > 0, std::string("virtual card started: ") + command_[0]);
  }
  // Takes the card out of the reader: the virtual card's connection ends with its process.
  void Stop() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    Reap();
  }
  // Waits for the process to end, which it does by itself when the card crashes.
  void Reap() {
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  char** command_;
  pid_t pid_ = 0;
};

struct Driver {
  CtInitFn* init;
  CtCloseFn* close;
  CtDataFn* data;
  CtVersionFn* version;

  // The return code, and the answer after it.
  Bytes Send(unsigned char destination, Bytes command, int* rc = nullptr) {
    unsigned char dad = destination, sad = kAddressHost;
    unsigned short lenr = 1024;
    Bytes response(lenr);
    const int result = data(1, &dad, &sad, static_cast<unsigned short>(command.size()), command.data(), &lenr,
                            response.data());
    if (rc) *rc = result;
    if (result != 0) return {};
    response.resize(lenr);
    return response;
  }
};

Bytes RequestIcc(unsigned char seconds) { return {0x20, 0x12, 0x01, 0x01, 0x03, 0x80, 0x01, seconds, 0x00}; }
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s LIBRARY VICC-COMMAND...\n", argv[0]);
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "%s\n", dlerror());
    return 2;
  }
  Driver ct{reinterpret_cast<CtInitFn*>(dlsym(library, "CT_init")),
            reinterpret_cast<CtCloseFn*>(dlsym(library, "CT_close")),
            reinterpret_cast<CtDataFn*>(dlsym(library, "CT_data")),
            reinterpret_cast<CtVersionFn*>(dlsym(library, "CT_version"))};
  Card card(argv + 2);

  Check(ct.init(1, 7) == -8, "CT_init on a port with no reader gives ERR_CT");
  char version[121] = {};
  ct.version(version, 0);
  Check(std::string(version).find("no reader at port 7") != std::string::npos,
        std::string("CT_version says why: ") + version);

  Check(ct.init(1, 0) == 0, "CT_init with port 0 finds the virtual reader");
  ct.version(version, 0);
  Check(std::string(version).rfind("PC/SC: Virtual PCD", 0) == 0, std::string("CT_version: ") + version);
  const Bytes manufacturer = ct.Send(kAddressTerminal, {0x20, 0x13, 0x00, 0x46, 0x00});
  Check(manufacturer == Cat(Bytes{'V', 'i', 'r', 't', 'u', 'a', 'l', ' ', 'P', 'C', 'D', ' ', '0', '0', ' '},
                            {0x90, 0x00}),
        "GET STATUS 46 gives the reader's name: " + Hex(manufacturer));

  const Bytes units = ct.Send(kAddressTerminal, {0x20, 0x13, 0x00, 0x81, 0x00});
  Check(units == Bytes{0x81, 0x01, 0x01, 0x90, 0x00},
        "GET STATUS 81 gives one card interface: " + Hex(units));

  card.Start();
  // The waiting time as one plain byte, as older clients send it.
  const Bytes atr = ct.Send(kAddressTerminal, {0x20, 0x12, 0x01, 0x01, 0x01, 0x0A});
  Check(atr == Cat(kAtr, {0x90, 0x01}),
        "REQUEST ICC with a one-byte waiting time waits for the card and gives its ATR: " + Hex(atr));

  const Bytes select = ct.Send(0, {0x00, 0xA4, 0x00, 0x0C, 0x02, 0x3F, 0x00});
  Check(select == Bytes{0x90, 0x00}, "SELECT FILE of the master file: " + Hex(select));
  // No elementary file is selected on this card: its own refusal comes back.
  const Bytes read = ct.Send(0, {0x00, 0xB0, 0x00, 0x00, 0x00});
  Check(read == Bytes{0x69, 0x86}, "READ BINARY reaches the card: " + Hex(read));
  const Bytes challenge = ct.Send(0, {0x00, 0x84, 0x00, 0x00, 0x08});
  Check(challenge.size() == 10 && challenge[8] == 0x90 && challenge[9] == 0x00,
        "GET CHALLENGE gives the card's data: " + Hex(challenge));

  for (const terminal_test::CommandForm& form : terminal_test::CommandForms()) {
    ct.Send(kAddressTerminal, {0x20, 0x11, 0x00, 0x00});  // the card in, not activated
    const Bytes answer = ct.Send(kAddressTerminal, form.command);
    Check(answer == terminal_test::ExpectedAnswer(form, kAtr, kHistorical),
          std::string(form.what) + ": " + Hex(answer));
  }

  const auto ejectStart = Clock::now();
  std::thread taker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    card.Stop();
  });
  const Bytes eject = ct.Send(kAddressTerminal, {0x20, 0x15, 0x01, 0x00, 0x03, 0x80, 0x01, 0x05});
  const auto ejectTime = Clock::now() - ejectStart;
  taker.join();
  Check(eject == Bytes{0x90, 0x01} && ejectTime < std::chrono::seconds(5),
        "EJECT ICC answers the removal within its 5 s: " + Hex(eject) + "after " +
            std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(ejectTime).count()) + " ms");

  const auto waitStart = Clock::now();
  const Bytes none = ct.Send(kAddressTerminal, RequestIcc(1));
  const auto waited = Clock::now() - waitStart;
  Check(none == Bytes{0x62, 0x00} && waited >= std::chrono::milliseconds(900) &&
            waited < std::chrono::seconds(3),
        "REQUEST ICC with no card times out after 1 s: " + Hex(none) + "after " +
            std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()) + " ms");
  const Bytes status = ct.Send(kAddressTerminal, {0x20, 0x13, 0x00, 0x80, 0x00});
  Check(status == Bytes{0x00, 0x90, 0x00}, "GET STATUS says no card: " + Hex(status));

  card.Start();
  const Bytes back = ct.Send(kAddressTerminal, RequestIcc(10));
  Check(back == Cat(kAtr, {0x90, 0x01}), "the card put back answers REQUEST ICC again: " + Hex(back));

  // This card dies on a SELECT with P2 00 of an existing file; the reader then passes on nothing.
  int rc = 0;
  ct.Send(0, {0x00, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00}, &rc);
  Check(rc == -10, "an empty answer from the card gives ERR_TRANS: " + std::to_string(rc));
  card.Reap();
  const auto goneStart = Clock::now();
  while (ct.Send(kAddressTerminal, {0x20, 0x13, 0x00, 0x80, 0x00}) != Bytes{0x00, 0x90, 0x00} &&
         Clock::now() - goneStart < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  card.Start();
  const Bytes again = ct.Send(kAddressTerminal, RequestIcc(10));
  Check(again == Cat(kAtr, {0x90, 0x01}), "a new card then answers REQUEST ICC: " + Hex(again));
  card.Stop();

  Check(ct.close(1) == 0, "CT_close");
  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
