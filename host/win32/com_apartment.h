#pragma once

#include "host/unique_handle.h"
#include "host/win32/windows_api.h"

// After windows_api.h, whose types it uses.
#include <objbase.h>

namespace velbor {

// The calling thread's entry into a single-threaded COM apartment: "valid" when
// CoInitializeEx succeeded, and then left with CoUninitialize on the same thread.
struct ComApartmentTraits {
  using Handle = bool;
  static Handle Invalid() noexcept { return false; }
  static bool Close(Handle) noexcept {
    CoUninitialize();
    return true;
  }
};
using UniqueComApartment = UniqueHandle<ComApartmentTraits>;

// Makes COM ready on the calling thread for objects of the window's kind.
inline UniqueComApartment EnterSingleThreadedApartment() {
  return UniqueComApartment(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
}

}  // namespace velbor
