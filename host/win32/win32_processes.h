#pragma once

#include "host/processes.h"
#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

namespace velbor {

// Waits until `object` is signalled, at most `milliseconds`; true when it was.
// Fails when the wait itself fails.
using ObjectWait = bool (*)(HANDLE object, DWORD milliseconds);

// An ObjectWait that does nothing else meanwhile.
bool WaitWithoutAnswering(HANDLE object, DWORD milliseconds);

class Win32Processes final : public Processes {
 public:
  // StartAndAwait waits with `wait`: a program with windows passes one that
  // answers their messages (answering_wait.h), which this file leaves out so that
  // programs without windows need not load the system's window library.
  explicit Win32Processes(ObjectWait wait = &WaitWithoutAnswering) : wait_(wait) {}

  // The program starts suspended and runs only once a pool thread watches it. It
  // inherits a read-only copy of the hold, which must be one of Win32FileSystem's,
  // and no other handle of the installer's.
  void StartProcess(const Text& program, const Text& commandLine, WindowStyle windowStyle,
                    const Text& workingFolder, SharedFileHold heldUntilEnded) override;
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

  ObjectWait wait_;
};

}  // namespace velbor
