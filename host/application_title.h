#pragma once

namespace velbor {

// The application's title: the window's caption, the title of a message box shown
// without one, and the source named by every failure the host raises. The host
// names it in its failures, so it lives here rather than with the program.
inline constexpr char16_t kApplicationTitle[] = u"Brevanti Setup";

}  // namespace velbor
