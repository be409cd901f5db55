// A CT-API library with the faults a batch run must survive, chosen by the command's INS byte:
// F1 returns ERR_MEMORY, F2 reports more answer bytes than the buffer holds (writing only what
// fits), F3 never returns; anything else answers 90 00. CT_init on port 9 never returns either.
#include <chrono>
#include <cstring>
#include <thread>

extern "C" {

namespace {
void Hang() {
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}
}  // namespace

signed char CT_init(unsigned short, unsigned short pn) {
  if (pn == 9) Hang();
  return 0;
}

signed char CT_close(unsigned short) { return 0; }

signed char CT_data(unsigned short, unsigned char* dad, unsigned char* sad, unsigned short lenc,
                    unsigned char* command, unsigned short* lenr, unsigned char* response) {
  const unsigned char ins = lenc >= 2 ? command[1] : 0;
  if (ins == 0xF1) return -11;
  if (ins == 0xF3) Hang();
  const unsigned char ok[] = {0x90, 0x00};
  if (*lenr < sizeof ok) return -11;
  std::memcpy(response, ok, sizeof ok);
  const unsigned char from = *dad;
  *dad = *sad;
  *sad = from;
  *lenr = ins == 0xF2 ? static_cast<unsigned short>(*lenr + 100) : sizeof ok;
  return 0;
}

}  // extern "C"
