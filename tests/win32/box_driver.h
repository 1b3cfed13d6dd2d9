#pragma once

#include <functional>
#include <string>
#include <thread>

#include "host/win32/windows_api.h"

namespace velbor::testing {

// Answers the modal box that the calling thread is about to show, from a second
// thread, as a user would: it waits for a visible "#32770" window of that caption,
// hands it to `answer` and waits for it to close. A box that never appears or
// never closes is cancelled, so that a fault fails the test instead of hanging it.
class BoxDriver {
 public:
  BoxDriver(std::wstring caption, std::function<void(HWND box)> answer);
  BoxDriver(const BoxDriver&) = delete;
  BoxDriver& operator=(const BoxDriver&) = delete;
  ~BoxDriver();

  // Waits for the driver to finish; whether it found the box and saw it close.
  bool Finish();

 private:
  void Drive(std::wstring caption, std::function<void(HWND)> answer);

  DWORD boxThread_;
  bool answered_ = false;
  std::thread thread_;
};

// Presses a button of a box that another thread shows.
void Press(HWND box, int buttonId);

}  // namespace velbor::testing
