#include "host/win32/full_path.h"

#include "host/win32/win32_failure.h"
#include "host/win32/windows_api.h"

namespace velbor {

std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) throw FailureFromLastError();
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) throw FailureFromLastError();
  full.resize(length);
  return full;
}

}  // namespace velbor
