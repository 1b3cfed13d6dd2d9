#pragma once

#include "host/text.h"
#include "host/win32/windows_api.h"

namespace velbor {

// The controls of the input box besides IDOK and IDCANCEL.
namespace ask_text_control {
inline constexpr int kPrompt = 100;
inline constexpr int kAnswer = 101;
}  // namespace ask_text_control

// Shows a modal input box owned by `owner` (may be null) and answers the text in
// its field when OK is pressed, or the empty text when it is cancelled or closed.
Text RunAskTextDialog(HWND owner, const Text& prompt, const Text& title, const Text& defaultText);

}  // namespace velbor
