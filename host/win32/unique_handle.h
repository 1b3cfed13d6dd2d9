#pragma once

#include "host/unique_handle.h"
#include "host/win32/windows_api.h"

namespace velbor {

// Handles from CreateFileW: INVALID_HANDLE_VALUE means none.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle handle) noexcept { return CloseHandle(handle) != FALSE; }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

// Handles of processes, threads and file mappings: null means none.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static bool Close(Handle handle) noexcept { return CloseHandle(handle) != FALSE; }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// Searches from FindFirstFileExW, which FindClose ends.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle handle) noexcept { return FindClose(handle) != FALSE; }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

// Libraries from LoadLibraryExW, freed when their owner goes.
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() noexcept { return nullptr; }
  static bool Close(Handle module) noexcept { return FreeLibrary(module) != FALSE; }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

// Views from MapViewOfFile, unmapped when their owner goes.
struct MappedViewTraits {
  using Handle = void*;
  static Handle Invalid() noexcept { return nullptr; }
  static bool Close(Handle view) noexcept { return UnmapViewOfFile(view) != FALSE; }
};
using UniqueMappedView = UniqueHandle<MappedViewTraits>;

// Fonts from CreateFontW, deleted when their owner goes (after any window that
// uses them, which the owner must outlive).
struct FontTraits {
  using Handle = HFONT;
  static Handle Invalid() noexcept { return nullptr; }
  static bool Close(Handle font) noexcept { return DeleteObject(font) != FALSE; }
};
using UniqueFont = UniqueHandle<FontTraits>;

}  // namespace velbor
