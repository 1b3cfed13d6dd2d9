#pragma once

#include <string>

namespace velbor::bench {

// Starts the installer `program` as a user does, answers the seconds from just
// before its start until its main window is visible, then closes it. Throws when
// it cannot start or shows no window within 20 s.
double SecondsUntilWindowShows(const std::wstring& program);

}  // namespace velbor::bench
