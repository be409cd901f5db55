#include "session/LogPath.h"

#include <algorithm>

std::string BuildLogPath(std::string_view currentDirectory) {
  std::string path;
  if (currentDirectory.size() < kCurrentDirectoryBufferSize) path = currentDirectory;
  std::transform(path.begin(), path.end(), path.begin(),
                 [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
  path += path.size() >= 4 ? "\\KELVAN.LOG" : "KELVAN.LOG";
  return path;
}
