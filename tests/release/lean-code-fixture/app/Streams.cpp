// Each include form the check must catch; the one under tests/ must pass.
#include <sstream>
  #  include <filesystem>
#include "regex"
#include <string>
#include <iosfwd>
