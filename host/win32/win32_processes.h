#pragma once

#include "host/processes.h"
#include "host/win32/unique_handle.h"

namespace velbor {

class Win32Processes final : public Processes {
 public:
  // The program starts suspended and runs only once a pool thread watches it. It
  // inherits a read-only copy of the hold, which must be one of Win32FileSystem's,
  // and no other handle of the installer's.
  void StartProcess(const Text& program, const Text& commandLine, WindowStyle windowStyle,
                    const Text& workingFolder, SharedFileHold heldUntilEnded) override;
  // While it waits, the calling thread answers messages sent to its windows and
  // repaints them.
  std::optional<std::uint32_t> StartAndAwait(const Text& program, const Text& commandLine,
                                             WindowStyle windowStyle, const Text& workingFolder,
                                             SharedFileHold heldUntilEnded,
                                             std::chrono::milliseconds limit) override;
  Text SystemFolder() override;
  Text WindowsFolder() override;

 private:
  // Starts the program; answers a handle of it for waiting.
  static UniqueKernelHandle Start(const Text& program, const Text& commandLine,
                                  WindowStyle windowStyle, const Text& workingFolder,
                                  SharedFileHold heldUntilEnded);
};

}  // namespace velbor
