#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "host/file_hold.h"
#include "host/text.h"

namespace velbor {

// How a started program's window is shown.
enum class WindowStyle : std::int32_t { kHidden = 0, kMinimizedFocus = 2 };

// Programs started beside the installer.
class Processes {
 public:
  virtual ~Processes() = default;

  // Starts `commandLine` and returns as soon as the program has started; nobody
  // waits for it. `program` is the full path of the file to run, which then gets
  // the command line unchanged; when it is empty the command line's first word
  // names the program, found by the system's search rules. The program runs in
  // `workingFolder`, and `heldUntilEnded` (which may be empty) lasts until the
  // program has ended, even when the installer ends first; the program's exit code
  // then goes to the debugger output with the command line. Fails when it cannot
  // be started.
  virtual void StartProcess(const Text& program, const Text& commandLine, WindowStyle windowStyle,
                            const Text& workingFolder, SharedFileHold heldUntilEnded) = 0;

  // Starts the program as StartProcess does, then waits for its end, at most
  // `limit`: answers its exit code, or nothing when it still runs then (it is left
  // running, with the hold). Fails when it cannot be started or waited for.
  virtual std::optional<std::uint32_t> StartAndAwait(const Text& program, const Text& commandLine,
                                                     WindowStyle windowStyle,
                                                     const Text& workingFolder,
                                                     SharedFileHold heldUntilEnded,
                                                     std::chrono::milliseconds limit) = 0;

  // The system's own folder, where its tools are, without a trailing "\".
  virtual Text SystemFolder() = 0;

  // The running system's own Windows folder, without a trailing "\" unless it is
  // a drive's root. On a multi-user server this is the shared one, not a user's.
  virtual Text WindowsFolder() = 0;
};

}  // namespace velbor
