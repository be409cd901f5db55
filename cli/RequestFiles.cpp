#include "cli/RequestFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/RequestSteps.h"

namespace cli {

std::optional<RequestFileScanner::ReadBytes> OpenRequestFile(const std::string& path, std::string& error) {
  std::shared_ptr<std::FILE> file(std::fopen(path.c_str(), "rb"), [](std::FILE* f) {
    if (f) std::fclose(f);
  });
  if (!file) {
    error = path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  return [file](char* buffer, std::size_t capacity) { return std::fread(buffer, 1, capacity, file.get()); };
}

FileCheck CheckRequestFile(const std::string& path) {
  FileCheck check;
  auto read = OpenRequestFile(path, check.error);
  if (!read) return check;
  RequestStepReader reader(std::move(*read));
  RequestStep step;
  while (reader.Next(step)) ++check.commands;
  if (!reader.Error().empty())
    check.error = path + ": " + reader.Error();
  else if (check.commands == 0)
    check.error = path + ": no command in the file";
  return check;
}

}  // namespace cli
