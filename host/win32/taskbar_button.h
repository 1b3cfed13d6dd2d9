#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "host/win32/com_apartment.h"
#include "host/win32/windows_api.h"

struct ITaskbarList3;

namespace velbor {

// A window's button on the taskbar as a progress bar (Windows 7 and later). The
// shell tells the window when its button is there; before that, and where the
// system has no such taskbar, nothing is shown. Whatever was last asked for is
// shown again when the shell makes the button anew, as after it restarts.
class TaskbarButton {
 public:
  TaskbarButton();
  ~TaskbarButton();
  TaskbarButton(const TaskbarButton&) = delete;
  TaskbarButton& operator=(const TaskbarButton&) = delete;

  // The window whose button this is. The installer runs elevated, and the shell
  // does not: its message is let through to this window.
  void Attach(HWND window);

  // Whether `message` is the shell's word that the window's button is there (again).
  bool IsCreatedMessage(UINT message) const;
  void Created();

  void ShowProgress(std::uint64_t done, std::uint64_t total);
  // Yellow across the whole button: the work waits.
  void ShowPaused();
  void ShowNothing();

 private:
  enum class State { kNothing, kProgress, kPaused };

  struct Release {
    void operator()(ITaskbarList3* list) const;
  };

  void Show();

  UINT createdMessage_;
  HWND window_ = nullptr;
  // COM is made ready on the window's thread only once the button is there, so a
  // program that never gets a button never loads it; tried once.
  std::optional<UniqueComApartment> com_;
  std::unique_ptr<ITaskbarList3, Release> list_;  // released before COM is let go
  State state_ = State::kNothing;
  std::optional<State> shownState_;  // what the button shows, when known
  std::uint64_t done_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace velbor
