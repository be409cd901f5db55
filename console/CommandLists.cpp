#include "console/CommandLists.h"

CommandLists& ConsoleLists() {
  static CommandLists lists;
  return lists;
}
