#pragma once

#include "host/text.h"

namespace velbor {

// Where the logic notes what it did, one event at a time; the installation log
// (app/install_log.h) is the one the program writes. Writing never fails: a log
// must never be the reason an installation stops.
class EventLog {
 public:
  virtual void Write(const Text& text) const noexcept = 0;

 protected:
  ~EventLog() = default;
};

// Writes `text` to `log`; where a caller was given no log, nothing is written.
inline void WriteEvent(const EventLog* log, const Text& text) noexcept {
  if (log != nullptr) log->Write(text);
}

}  // namespace velbor
