#pragma once

#include "host/processes.h"

namespace velbor {

class Win32Processes final : public Processes {
 public:
  // The program starts suspended and runs only once a pool thread watches it. It
  // inherits a read-only copy of the hold, which must be one of Win32FileSystem's,
  // and no other handle of the installer's.
  void StartProcess(const Text& program, const Text& commandLine, WindowStyle windowStyle,
                    const Text& workingFolder, SharedFileHold heldUntilEnded) override;
  Text SystemFolder() override;
  Text WindowsFolder() override;
};

}  // namespace velbor
