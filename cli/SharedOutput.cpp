#include "cli/Reports.h"

namespace cli {

void SharedOutput::Out(std::string_view text) {
  const std::lock_guard lock(mutex_);
  console_.Out(text);
}

void SharedOutput::Err(std::string_view text) {
  const std::lock_guard lock(mutex_);
  console_.Err(text);
}

}  // namespace cli
