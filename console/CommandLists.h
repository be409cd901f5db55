#pragma once
// The console's command list and description list: program-wide, so the request file loader and
// the command list editor work on the same lists, and their texts outlive each console.
#include <array>
#include <cstdint>
#include <string>

struct CommandLists {
  static constexpr int kCapacity = 100;
  // Description i belongs to command i. Texts of any length: a request file's continuation lines
  // can make an entry as long as the file.
  std::array<std::string, kCapacity> commands;
  std::array<std::string, kCapacity> descriptions;
  std::int16_t commandCount = 0;
  std::int16_t descriptionCount = 0;
  std::int16_t commandSelection = 0;
  std::int16_t descriptionSelection = 0;
};

CommandLists& ConsoleLists();
