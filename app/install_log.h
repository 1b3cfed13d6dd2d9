#pragma once

#include <string>

#include "host/event_log.h"
#include "host/log_sink.h"
#include "host/text.h"

namespace velbor {

// The installation log: one dated line per event. Without a sink it is absent and
// writes nothing, so callers write to it alike in every run.
class InstallLog final : public EventLog {
 public:
  InstallLog() = default;
  explicit InstallLog(LogSink& sink) : sink_(&sink) {}

  // Writes `text` as one dated entry. A line that cannot be written is lost: the
  // log must never be the reason an installation stops.
  void Write(const Text& text) const noexcept override;

 private:
  LogSink* sink_ = nullptr;
};

// `text` as a log entry dated `when`: "2026-12-09 02:01:41.123  text", each further
// line of the text indented under the first, ending with "\r\n", in UTF-8.
std::string LogEntry(const LocalTime& when, TextView text);

}  // namespace velbor
