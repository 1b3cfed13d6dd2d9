#pragma once

#include "host/user_interface.h"
#include "host/win32/windows_api.h"

namespace velbor {

class Win32UserInterface final : public UserInterface {
 public:
  // The window that owns the boxes and that EndProgram closes; none until set.
  void SetMainWindow(HWND window) { mainWindow_ = window; }

  MessageAnswer ShowMessage(const Text& prompt, MessageStyle style,
                            const std::optional<Text>& title) override;
  Text AskText(const Text& prompt, const Text& title, const Text& defaultText) override;
  void PumpMessages() override;
  [[noreturn]] void EndProgram() override;
  [[noreturn]] void EndFailedProgram() override;
  // Closes the window and ends the process at once with `exitCode`.
  [[noreturn]] void EndProgramWith(int exitCode);
  void ResetMousePointer() override;

 private:
  HWND mainWindow_ = nullptr;
};

}  // namespace velbor
