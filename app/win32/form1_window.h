#pragma once

#include <functional>

#include "app/main_window.h"
#include "host/text.h"
#include "host/win32/unique_handle.h"
#include "host/win32/win32_pass_progress.h"
#include "host/win32/windows_api.h"

namespace velbor {

// The installer's only window: the application's title as caption, the program's
// icon, the start button and the retry timer. Its layout is given in twips and
// converted with the window's own DPI, so it keeps its proportions on any screen.
// What a press or a tick does is the business of the handlers it is given; how a
// pass shows on the window, that of `progress`.
class Form1Window final : public MainWindow {
 public:
  // Fails when the window or its button cannot be made.
  Form1Window(HINSTANCE instance, UINT timerIntervalMilliseconds, Win32PassProgress& progress);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  HWND Handle() const { return window_; }
  void Show(int showCommand);
  void SetHandlers(std::function<void()> startPressed, std::function<void()> timerTicked,
                   std::function<void()> payloadChecked);

  // Presses the start button once the message loop runs, as a user would.
  void PressStartLater() const;
  bool TimerEnabled() const { return timerEnabled_; }

  // Brings the window of an installer that already runs in this session to the
  // front; false when there is none.
  static bool BringRunningToFront();

  void SetStartButtonCaption(const Text& caption) override;
  void SetTimerEnabled(bool enabled) override;

 private:
  static ATOM RegisterWindowClass(HINSTANCE instance);
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void LayOut(UINT dpi);

  HWND window_ = nullptr;
  HWND startButton_ = nullptr;
  UniqueFont buttonFont_;  // deleted after the window that uses it
  UINT timerInterval_;
  Win32PassProgress& progress_;
  bool timerEnabled_ = false;
  std::function<void()> startPressed_;
  std::function<void()> timerTicked_;
  std::function<void()> payloadChecked_;
};

// Posted to the window when the payload's check has ended.
inline constexpr UINT kPayloadCheckedMessage = WM_APP + 1;

// Runs the window messages until the window is closed; answers the exit code.
int RunMessageLoop(HWND dialogLikeWindow);

}  // namespace velbor
