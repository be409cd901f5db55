// Writes the seed corpus of halvex_check_fuzz into the directory given, one file per seed.
#include <cstdio>
#include <fstream>

#include "tests/firmware/FuzzSeeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
    return 2;
  }
  for (const auto& seed : halvextest::FuzzSeeds()) {
    const std::vector<uint8_t> bytes = halvextest::EncodeCardScript(seed.script);
    std::ofstream file(std::string(argv[1]) + "/" + seed.name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
      std::fprintf(stderr, "cannot write %s\n", seed.name.c_str());
      return 1;
    }
  }
  return 0;
}
