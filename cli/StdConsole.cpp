#include <cstdio>

#include "cli/CliConsole.h"

#ifdef _WIN32
#include <io.h>
#define KELVANOR_ISATTY _isatty
#define KELVANOR_FILENO _fileno
#else
#include <unistd.h>
#define KELVANOR_ISATTY isatty
#define KELVANOR_FILENO fileno
#endif

namespace cli {

void StdConsole::Out(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void StdConsole::Err(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

bool StdConsole::ErrIsTerminal() const { return KELVANOR_ISATTY(KELVANOR_FILENO(stderr)) != 0; }

}  // namespace cli
