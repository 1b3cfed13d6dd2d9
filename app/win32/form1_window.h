#pragma once

#include "host/win32/windows_api.h"

namespace velbor {

// The installer's only window: the application's title as caption, the program's
// icon and the start button. Its layout is given in twips and converted with the
// window's own DPI, so it keeps its proportions on any screen.
class Form1Window {
 public:
  explicit Form1Window(HINSTANCE instance);
  ~Form1Window();
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  HWND Handle() const { return window_; }
  void Show(int showCommand);

 private:
  static ATOM RegisterWindowClass(HINSTANCE instance);
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void LayOut(UINT dpi);

  HWND window_ = nullptr;
  HWND startButton_ = nullptr;
  HFONT buttonFont_ = nullptr;
};

// Runs the window messages until the window is closed; answers the exit code.
int RunMessageLoop(HWND dialogLikeWindow);

}  // namespace velbor
