#include "common/VersionText.h"

#include <algorithm>

std::string FitPath(std::string_view before, std::string_view path, std::string_view after) {
  constexpr std::string_view kEllipsis = "...";
  const std::size_t room = kVersionTextLength - std::min(kVersionTextLength, before.size() + after.size());
  std::string text(before);
  if (path.size() <= room) {
    text += path;
  } else if (room > kEllipsis.size()) {
    text += kEllipsis;
    text += path.substr(path.size() - (room - kEllipsis.size()));
  }
  text += after;
  text.resize(std::min(text.size(), kVersionTextLength));
  return text;
}
