#pragma once

#include <string>
#include <string_view>

#include "host/failure.h"
#include "host/log_sink.h"

namespace velbor::testing {

// A log kept in memory, with a clock that stands still.
class MemoryLogSink : public LogSink {
 public:
  LocalTime Now() override { return {2026, 3, 4, 5, 6, 7, 8}; }
  void Append(std::string_view utf8) override {
    if (failing) throw HostFailure(failure::kDiskFull);
    written += utf8;
  }
  bool Holds(std::string_view part) const { return written.find(part) != std::string::npos; }

  std::string written;
  bool failing = false;
};

}  // namespace velbor::testing
