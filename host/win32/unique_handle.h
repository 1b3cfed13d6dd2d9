#pragma once

#include "host/unique_handle.h"
#include "host/win32/windows_api.h"

namespace velbor {

// The value that means "no handle" for a kind of Win32 handle.
enum class NoHandle { kNull, kInvalidHandleValue };

// A kind of Win32 handle that `close` lets go of.
template <typename HandleType, auto close, NoHandle none = NoHandle::kNull>
struct Win32HandleTraits {
  using Handle = HandleType;
  static Handle Invalid() noexcept {
    if constexpr (none == NoHandle::kNull) {
      return nullptr;
    } else {
      return INVALID_HANDLE_VALUE;
    }
  }
  static bool Close(Handle handle) noexcept { return close(handle) != FALSE; }
};

// Files from CreateFileW.
using UniqueFileHandle =
    UniqueHandle<Win32HandleTraits<HANDLE, &CloseHandle, NoHandle::kInvalidHandleValue>>;
// Processes, threads and file mappings.
using UniqueKernelHandle = UniqueHandle<Win32HandleTraits<HANDLE, &CloseHandle>>;
// Searches from FindFirstFileExW.
using UniqueFindHandle =
    UniqueHandle<Win32HandleTraits<HANDLE, &FindClose, NoHandle::kInvalidHandleValue>>;
// Libraries from LoadLibraryExW.
using UniqueModule = UniqueHandle<Win32HandleTraits<HMODULE, &FreeLibrary>>;
// Views from MapViewOfFile.
using UniqueMappedView = UniqueHandle<Win32HandleTraits<void*, &UnmapViewOfFile>>;
// Fonts from CreateFontW; the owner must outlive every window that uses its font.
using UniqueFont = UniqueHandle<Win32HandleTraits<HFONT, &DeleteObject>>;

}  // namespace velbor
