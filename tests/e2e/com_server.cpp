// The COM server that the registration case installs: registering it records, in
// a file beside the DLL, how the registering program was started. It has nothing
// else to register.
#include <string>

#include "host/win32/windows_api.h"
#include "tests/e2e/process_trace.h"

namespace {

// Any object of this DLL names the module that holds it.
constexpr int kAnchor = 0;

}  // namespace

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&kAnchor), &self)) {
    return E_FAIL;
  }
  const std::wstring path = velbor::testing::ModuleFilePath(self);
  if (path.empty()) return E_FAIL;
  return velbor::testing::WriteProcessTrace(path + L".registered") ? S_OK : E_FAIL;
}
