// Writes each command form of CommandForms.h as a seed of a CT_data fuzzer: the fuzzer's own input
// bytes that open terminal 0 with a card in it, then one CT_data call of the form.
//   command_form_seeds OUTDIR OPENING-HEX
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/FuzzInput.h"
#include "tests/terminal/CommandForms.h"

namespace {

constexpr std::uint8_t kCtDataStep = 0x05;  // CT_data on terminal 0, no null pointers

// "REQUEST ICC, Le only" gives "request-icc-le-only".
std::string FileName(const std::string& what) {
  std::string name;
  for (const char c : what) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (!name.empty() && name.back() != '-') {
      name += '-';
    }
  }
  while (!name.empty() && name.back() == '-') name.pop_back();
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string hex = argc == 3 ? argv[2] : "";
  if (argc != 3 || hex.size() % 2 != 0) {
    std::fprintf(stderr, "usage: %s OUTDIR OPENING-HEX\n", argv[0]);
    return 2;
  }
  terminal_test::Bytes opening;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    opening.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  for (const terminal_test::CommandForm& form : terminal_test::CommandForms()) {
    terminal_test::Bytes seed = opening;
    const terminal_test::Bytes call = FuzzCtDataScript(kCtDataStep, 1, 2, 256, form.command);
    seed.insert(seed.end(), call.begin(), call.end());
    std::ofstream(dir / FileName(form.what), std::ios::binary)
        .write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
  }
  return 0;
}
