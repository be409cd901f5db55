#include "session/ConfigLabel.h"

std::string ConfigLabelText(const SessionSettings& settings) {
  return "CTn: " + std::to_string(settings.ctn) + ", PTn: " + std::to_string(settings.ptn);
}
