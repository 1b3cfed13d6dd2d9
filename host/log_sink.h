#pragma once

#include <cstdint>
#include <string_view>

namespace velbor {

// A moment in the computer's local time, to the millisecond.
struct LocalTime {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
  std::int32_t millisecond = 0;
};

// Where the installation log goes, and the clock that dates its lines.
class LogSink {
 public:
  virtual ~LogSink() = default;

  virtual LocalTime Now() = 0;

  // Appends UTF-8 text at the end of the log; fails when it cannot be written.
  virtual void Append(std::string_view utf8) = 0;
};

}  // namespace velbor
