#pragma once

#include <string_view>

#include "host/log_sink.h"
#include "host/text.h"
#include "host/win32/unique_handle.h"

namespace velbor {

// The log file that the command line names, appended to. Other programs may read
// it meanwhile, and a second installer may append to it too.
class Win32LogFile final : public LogSink {
 public:
  // Opens the file, creating it with a UTF-8 byte-order mark when it is new. The
  // installer runs elevated and the path may lie in a folder that anyone can
  // write: a link on any folder of the path (walked from the volume's root), a
  // link or a second name of another file, a pipe or a device, or a file that is
  // not where the path says once it is open, is refused, never followed; a file
  // this made is removed then. Fails when the file cannot be opened so.
  explicit Win32LogFile(const Text& path);

  LocalTime Now() override;
  void Append(std::string_view utf8) override;

 private:
  UniqueFileHandle file_;
};

}  // namespace velbor
