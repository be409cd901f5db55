#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "console/FileReplace.h"
#include "console/RequestFile.h"

namespace {

bool WriteAll(std::FILE* file, std::string_view text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool flushed = std::fflush(file) == 0;
  return (std::fclose(file) == 0) && written && flushed;
}

// The temporary file beside the target: on the same volume, so it can replace the target whole.
std::string MakeTemporaryBeside(const std::string& path, std::FILE*& file) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = path + ".kvtmp" + std::to_string(attempt);
    struct stat existing;
    if (stat(candidate.c_str(), &existing) == 0 || errno != ENOENT) continue;
    file = std::fopen(candidate.c_str(), "wb");
    if (file) return candidate;
    return {};
  }
  return {};
}

bool WriteInPlace(const std::string& path, std::string_view text) {
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) return WriteAll(file, text);
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file || !WriteAll(file, text)) return false;
  return truncate(path.c_str(), static_cast<off_t>(text.size())) == 0;  // no old bytes after the new end
}

}  // namespace

std::string RequestFileText(const std::array<std::string, CommandLists::kCapacity>& descriptions,
                            const std::array<std::string, CommandLists::kCapacity>& commands, int count) {
  std::string text;
  for (int i = 0; i < count && i < CommandLists::kCapacity; ++i) {
    text += "# " + descriptions[i] + "\r\n";
    text += commands[i] + "\r\n";
  }
  return text;
}

bool WriteRequestFile(const std::string& path, std::string_view text) {
  std::FILE* file = nullptr;
  const std::string temporary = MakeTemporaryBeside(path, file);
  if (temporary.empty()) return WriteInPlace(path, text);
  if (WriteAll(file, text) && ReplaceWithFile(path, temporary)) return true;
  std::remove(temporary.c_str());
  return false;
}
