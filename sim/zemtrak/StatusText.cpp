#include "sim/zemtrak/StatusText.h"

namespace sim {

std::string StatusText(const SlotState& slot, const CardChoice& card, std::size_t openSessions, bool busy,
                       const std::optional<std::string>& problem) {
  std::string text = "Sessions open: " + std::to_string(openSessions);
  if (busy) text += " (a command is waiting)";
  text += "\r\nCard: ";
  if (!slot.present) {
    text += "none";
  } else {
    text += card.description;
    if (slot.powered) {
      text += ", activated";
    } else {
      text += slot.ejected ? ", ejected, waiting to be taken" : ", inserted, not activated";
    }
  }
  if (problem) text += "\r\n" + *problem;
  return text;
}

}  // namespace sim
