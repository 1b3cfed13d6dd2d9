#pragma once

#include <string>

namespace velbor {

// The full path of `path` as GetFullPathNameW makes it: relative parts resolved
// against the current folder, as a rename through a handle and a check of where a
// handle really lies both need it. Fails as GetFullPathNameW fails.
std::wstring FullPath(const std::wstring& path);

}  // namespace velbor
