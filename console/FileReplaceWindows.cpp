#include <windows.h>

#include "console/FileReplace.h"

bool ReplaceWithFile(const std::string& target, const std::string& temporary) {
  if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES)
    return MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
  return ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                      nullptr) != FALSE;
}
