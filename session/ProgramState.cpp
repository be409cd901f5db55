// The program-wide objects: they exist before the main window and until the process ends.
#include "session/LastExchange.h"
#include "session/SessionLog.h"
#include "session/SessionSettings.h"

SessionSettings& Settings() {
  static SessionSettings settings;
  return settings;
}

SessionLog& Log() {
  static SessionLog log;
  return log;
}

LastExchange& Exchanges() {
  static LastExchange exchanges;
  return exchanges;
}
