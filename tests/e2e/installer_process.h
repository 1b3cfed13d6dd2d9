#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

namespace velbor::testing {

// Long enough for Wine on a busy machine, short enough that a fault fails its case
// well before the whole run times out.
inline constexpr std::chrono::milliseconds kPatience{20000};

// One run of an installer, driven as a user drives it: through its main window and
// the boxes it shows. Every wait watches the boxes: one that the case is not waiting
// for fails the case and is cancelled, never left open. A program still running
// when this goes is closed, and ended if it will not close.
class InstallerProcess {
 public:
  // Starts `program` in `workingFolder` and waits for its main window.
  InstallerProcess(const std::wstring& program, const std::wstring& workingFolder);
  InstallerProcess(const InstallerProcess&) = delete;
  InstallerProcess& operator=(const InstallerProcess&) = delete;
  ~InstallerProcess();

  // The main window, or null when it did not show in time.
  HWND Window() const { return window_; }
  std::wstring StartButtonCaption() const;

  // Posted, as a click is: the press runs modal boxes, which a sent message would
  // wait for.
  void PressStart() const;

  // Waits until the start button reads `caption`.
  bool WaitForCaption(const std::wstring& caption, std::chrono::milliseconds timeout = kPatience);

  // Waits for a box titled `title`; null when none came.
  HWND WaitForBox(const std::wstring& title, std::chrono::milliseconds timeout = kPatience);

  // Presses a button of a box and waits until the box has gone.
  bool Answer(HWND box, int buttonId, std::chrono::milliseconds timeout = kPatience);

  // Waits until the program has ended; its exit code, or nothing if it runs on.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kPatience);

  // Asks the main window to close, as its close box does.
  void Close() const;

  // Ends the program at once, as End Task does, and waits until it has gone.
  void Kill() const;

 private:
  // Looks at the visible boxes once: answers the one titled `awaited` (if any is
  // awaited), reports and cancels every other.
  HWND SweepBoxes(const std::wstring* awaited);
  HWND StartButton() const;
  bool HasEnded() const;

  UniqueKernelHandle process_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
  std::vector<HWND> reported_;
};

// The text that a window or control stores, read without waiting for the program
// that owns it: the title of a window, the caption of a button.
std::wstring StoredText(HWND window);

}  // namespace velbor::testing
