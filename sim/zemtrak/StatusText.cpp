#include "sim/zemtrak/StatusText.h"

namespace sim {

std::string StatusText(const SlotState& slot, std::size_t openSessions, bool busy) {
  std::string text = "Sessions open: " + std::to_string(openSessions);
  if (busy) text += " (a command is waiting)";
  text += "\r\nCard: ";
  if (!slot.present) return text + "none";
  text += slot.card == CardType::Processor ? "processor card (asynchronous)" : "memory card (synchronous)";
  if (slot.powered) return text + ", activated";
  return text + (slot.ejected ? ", ejected, waiting to be taken" : ", inserted, not activated");
}

}  // namespace sim
