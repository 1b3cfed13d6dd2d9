#include "host/win32/win32_user_interface.h"

#include <string>

#include "host/application_title.h"
#include "host/win32/ask_text_dialog.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"

namespace velbor {

MessageAnswer Win32UserInterface::ShowMessage(const Text& prompt, MessageStyle style,
                                              const std::optional<Text>& title) {
  const std::wstring widePrompt = WideFromText(prompt);
  const std::wstring wideTitle = WideFromText(title.value_or(kApplicationTitle));
  const int answer =
      MessageBoxW(mainWindow_, widePrompt.c_str(), wideTitle.c_str(), static_cast<UINT>(style));
  if (answer == 0) throw FailureFromLastError();
  return static_cast<MessageAnswer>(answer);
}

Text Win32UserInterface::AskText(const Text& prompt, const Text& title, const Text& defaultText) {
  return RunAskTextDialog(mainWindow_, prompt, title, defaultText);
}

void Win32UserInterface::PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    // The quit request belongs to the loop that ends the program; put it back for it.
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32UserInterface::EndProgram() { EndProgramWith(ERROR_SUCCESS); }

void Win32UserInterface::EndProgramWith(int exitCode) {
  if (mainWindow_ != nullptr) DestroyWindow(mainWindow_);
  ExitProcess(static_cast<UINT>(exitCode));
}

void Win32UserInterface::EndFailedProgram() { EndProgramWith(ERROR_INSTALL_FAILURE); }

void Win32UserInterface::ResetMousePointer() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }

}  // namespace velbor
