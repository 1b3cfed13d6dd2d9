#pragma once

#include <string>
#include <vector>

#include "host/win32/windows_api.h"

namespace velbor::testing {

// The controls of a box that another program shows, read and filled as a user
// would. Each message waits a bounded time for the box, so that a program that
// hangs fails the case instead of hanging it; a box that does not answer reads as
// empty.

// Whether the window is of the class, whose name Windows compares letter case aside.
bool IsOfClass(HWND window, const wchar_t* name);

// The text of a control, asked of the control itself: an edit control keeps its
// text to itself.
std::wstring AskedText(HWND control);

// The message of a message box.
std::wstring MessageText(HWND box);

// The texts of the box's static controls, in their order.
std::vector<std::wstring> StaticTexts(HWND box);

// The box's edit control, or null.
HWND EditControlOf(HWND box);

// Replaces the text of an edit control; whether the control took it.
bool Type(HWND edit, const std::wstring& text);

}  // namespace velbor::testing
