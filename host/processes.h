#pragma once

#include <cstdint>

#include "host/text.h"

namespace velbor {

// How a started program's window is shown.
namespace window_style {
inline constexpr std::int32_t kHidden = 0;
inline constexpr std::int32_t kMinimizedFocus = 2;
}  // namespace window_style

// Programs started beside the installer.
class Processes {
 public:
  virtual ~Processes() = default;

  // Starts `commandLine` and returns as soon as the program has started; nobody
  // waits for it. Fails when it cannot be started or the style is not one above.
  virtual void StartProcess(const Text& commandLine, std::int32_t windowStyle) = 0;
};

}  // namespace velbor
