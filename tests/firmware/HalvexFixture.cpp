#include "tests/firmware/HalvexFixture.h"

#include <cstdio>

namespace halvextest {

namespace {

std::string Token(const halvexsim::PortAccess& a, uint16_t base) {
  char text[16];
  const bool own = a.port >= base && a.port < base + 4;
  const unsigned where = own ? a.port - base : a.port;
  if (!a.write)
    std::snprintf(text, sizeof text, own ? "r%u" : "r%x", where);
  else if (own && where == 0)
    std::snprintf(text, sizeof text, "w0");
  else
    std::snprintf(text, sizeof text, own ? "w%u:%02x" : "w%x:%02x", where, a.value);
  return text;
}

}  // namespace

std::string Trace(const std::vector<halvexsim::PortAccess>& accesses, uint16_t base) {
  std::string out;
  for (size_t i = 0; i < accesses.size();) {
    const std::string token = Token(accesses[i], base);
    size_t run = 1;
    while (i + run < accesses.size() && Token(accesses[i + run], base) == token) ++run;
    if (!out.empty()) out += ' ';
    out += token;
    if (run > 1) out += "*" + std::to_string(run);
    i += run;
  }
  return out;
}

std::vector<uint8_t> WritesTo(const std::vector<halvexsim::PortAccess>& accesses, uint16_t port) {
  std::vector<uint8_t> values;
  for (const auto& a : accesses) {
    if (a.write && a.port == port) values.push_back(a.value);
  }
  return values;
}

}  // namespace halvextest
