#include <gtest/gtest.h>

#include "session/LogPath.h"

TEST(BuildLogPath, FromTheStartDirectory) {
  const struct {
    std::string directory;
    std::string path;
  } cases[] = {
      {"C:\\", "C:\\KELVAN.LOG"},
      {"C:\\Work", "C:\\WORK\\KELVAN.LOG"},
      {"d:\\tools\\kelvanor", "D:\\TOOLS\\KELVANOR\\KELVAN.LOG"},
      {"", "KELVAN.LOG"},
      {"C:", "C:KELVAN.LOG"},
      {"C:\\A", "C:\\A\\KELVAN.LOG"},
      {"\\\\srv\\share", "\\\\SRV\\SHARE\\KELVAN.LOG"},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildLogPath(c.directory), c.path) << c.directory;
}

TEST(BuildLogPath, DirectoryThatDoesNotFitTheBufferIsLeftOut) {
  const std::string fits = "C:\\" + std::string(251, 'a');  // 254 characters
  EXPECT_EQ(BuildLogPath(fits), "C:\\" + std::string(251, 'A') + "\\KELVAN.LOG");
  EXPECT_EQ(BuildLogPath(fits + "a"), "KELVAN.LOG");
  EXPECT_EQ(BuildLogPath(std::string(5000, 'x')), "KELVAN.LOG");
}
