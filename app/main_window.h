#pragma once

#include "host/text.h"

namespace velbor {

// The two things of the installer's window that its handlers change while it runs.
class MainWindow {
 public:
  virtual ~MainWindow() = default;

  virtual void SetStartButtonCaption(const Text& caption) = 0;

  // A timer that is enabled ticks once per interval until it is disabled; enabling
  // it again while it runs leaves its countdown alone.
  virtual void SetTimerEnabled(bool enabled) = 0;
};

}  // namespace velbor
