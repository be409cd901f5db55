#include <cstdio>

#include "console/FileReplace.h"

bool ReplaceWithFile(const std::string& target, const std::string& temporary) {
  return std::rename(temporary.c_str(), target.c_str()) == 0;
}
