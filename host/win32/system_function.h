#pragma once

#include "host/win32/windows_api.h"

namespace velbor {

// A function of a system library that only newer Windows versions have, found at
// run time so that the program still starts where it is missing; null there. The
// library must already be loaded (one the program imports from anyway), so that
// looking it up never loads a library by its name.
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
  const HMODULE module = GetModuleHandleW(library);
  if (module == nullptr) return nullptr;
  // GetProcAddress answers a generic function pointer; the caller names its type.
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace velbor
