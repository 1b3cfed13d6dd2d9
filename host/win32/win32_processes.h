#pragma once

#include "host/processes.h"

namespace velbor {

class Win32Processes final : public Processes {
 public:
  void StartProcess(const Text& program, const Text& commandLine,
                    std::int32_t windowStyle) override;
  Text SystemFolder() override;
};

}  // namespace velbor
