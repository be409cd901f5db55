#include "win/MessageMap.h"

#include <algorithm>

const MessageEntry* MessageTarget::Find(UINT message, WPARAM wParam) const {
  const auto table = MessageTable();
  const auto it = std::find_if(table.begin(), table.end(), [&](const MessageEntry& e) {
    if (e.message != message) return false;
    if (message != WM_COMMAND) return true;
    return e.id == LOWORD(wParam) && e.code == HIWORD(wParam);
  });
  return it == table.end() ? nullptr : &*it;
}

bool MessageTarget::HasCommandHandler(UINT id) const {
  return Find(WM_COMMAND, MAKEWPARAM(id, 0)) != nullptr;
}

bool MessageTarget::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const MessageEntry* entry = Find(message, wParam);
  if (!entry) return false;
  const Message saved = current_;
  current_ = {message, wParam, lParam};
  result_ = 0;
  try {
    (this->*entry->handler)();
    result = result_;
  } catch (...) {
    result = 0;
  }
  current_ = saved;
  return true;
}
