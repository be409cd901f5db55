#pragma once
// Typed message tables: each window class lists its bindings in one static table at its top.
#include <windows.h>

#include <span>

class MessageTarget;
using MessageHandler = void (MessageTarget::*)();

struct MessageEntry {
  UINT message;  // WM_COMMAND for button clicks, menu commands and control notifications
  UINT id;       // command or control id (WM_COMMAND only)
  UINT code;     // notification code (WM_COMMAND only)
  MessageHandler handler;
};

template <class T>
inline MessageEntry OnMessage(UINT message, void (T::*handler)()) {
  return {message, 0, 0, static_cast<MessageHandler>(handler)};
}

// A menu command or a button click (notification code 0).
template <class T>
inline MessageEntry OnCommand(UINT id, void (T::*handler)()) {
  return {WM_COMMAND, id, 0, static_cast<MessageHandler>(handler)};
}

template <class T>
inline MessageEntry OnNotify(UINT id, UINT code, void (T::*handler)()) {
  return {WM_COMMAND, id, code, static_cast<MessageHandler>(handler)};
}

// The dispatching half of every window class. Handlers take no arguments; the few that need the
// message's parameters read them from CurrentMessage().
class MessageTarget {
 public:
  virtual ~MessageTarget() = default;
  bool HasCommandHandler(UINT id) const;

 protected:
  struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  virtual std::span<const MessageEntry> MessageTable() const { return {}; }
  const Message& CurrentMessage() const { return current_; }
  void SetResult(LRESULT result) { result_ = result; }

  // Runs the table's handler for the message, if any. No exception crosses into Windows: a
  // handler that throws counts as handled with the result 0.
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  const MessageEntry* Find(UINT message, WPARAM wParam) const;

  Message current_{};
  LRESULT result_ = 0;
};
