#pragma once

#include "host/processes.h"

namespace velbor {

class Win32Processes final : public Processes {
 public:
  // The program starts suspended and runs only once a pool thread watches it;
  // that thread keeps what it holds until it ends.
  void StartProcess(const Text& program, const Text& commandLine, WindowStyle windowStyle,
                    const Text& workingFolder, SharedFileHold heldUntilEnded) override;
  Text SystemFolder() override;
  Text WindowsFolder() override;
};

}  // namespace velbor
