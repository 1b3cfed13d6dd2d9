#pragma once

#include <cstdint>

namespace velbor {

// What the user sees of the installer's work beside its boxes: a busy pointer
// while a pass runs, how far its writing has come, and that the installer waits
// to retry a failed pass.
class PassProgress {
 public:
  virtual ~PassProgress() = default;

  // A pass begins: the pointer shows that the installer is busy, and nothing the
  // user does reaches the window until the pass has ended.
  virtual void PassBegins() = 0;

  // `written` of the `total` bytes that the pass set out to write are written.
  // Told often while a file is written: the window answers what it is sent and
  // repaints meanwhile. Fails when the system is ending the session, so that the
  // pass begins nothing more.
  virtual void ShowWritten(std::uint64_t written, std::uint64_t total) = 0;

  // The pass is over: no progress is shown, the pointer is the usual one, and
  // what the user did while the pass ran is forgotten.
  virtual void PassEnded() = 0;

  // Whether the timer waits to retry a failed pass; a pass that begins shows its
  // own progress instead.
  virtual void ShowWaitingToRetry(bool waiting) = 0;
};

}  // namespace velbor
