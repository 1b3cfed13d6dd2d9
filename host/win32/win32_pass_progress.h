#pragma once

#include <cstdint>

#include "host/pass_progress.h"
#include "host/win32/taskbar_button.h"
#include "host/win32/windows_api.h"

namespace velbor {

// A pass as the user sees it on Win32: the wait pointer over the main window, its
// progress on the window's taskbar button, and a window that goes on answering
// while a file is written.
//
// While a pass writes, the window's thread looks at its queue only for sent
// messages and repainting (PM_QS_SENDMESSAGE, PM_QS_PAINT). Clicks, keys and
// posted messages, the timer's ticks among them, stay queued and never reach a
// handler during the pass; the input among them is dropped when the pass ends,
// so that a click made meanwhile does nothing afterwards either.
//
// Nor can anything sent cut the pass short: while it runs, the window refuses the
// end of the session (showing why), ignores a close, and, when the session ends
// anyway, lets the write under way end and begins no other.
class Win32PassProgress final : public PassProgress {
 public:
  // The window whose pointer and taskbar button show the pass; none until set.
  void SetMainWindow(HWND window);

  // For the main window's procedure, ahead of its own handling: true, with the
  // message's `result`, when the message was handled here.
  bool HandleWindowMessage(UINT message, WPARAM wParam, LRESULT& result);

  void PassBegins() override;
  void ShowWritten(std::uint64_t written, std::uint64_t total) override;
  void PassEnded() override;
  void ShowWaitingToRetry(bool waiting) override;

 private:
  TaskbarButton taskbar_;
  HWND window_ = nullptr;
  bool busy_ = false;
  bool sessionEnding_ = false;
};

}  // namespace velbor
