// The COM server that the registration case installs: registering it records, in
// a file beside the DLL, how the registering program was started. It has nothing
// else to register. While a test holds the event kSlowRegistration unset, the
// registration waits for it after the record, as a slow one would. When the test
// names a lingering program (kLingeringChildVariable), the registration starts it
// letting it inherit every inheritable handle, recording itself beside the DLL.
#include <string>

#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"
#include "tests/e2e/process_trace.h"

namespace {

// Any object of this DLL names the module that holds it.
constexpr int kAnchor = 0;

bool StartLingeringChild(const std::wstring& serverPath) {
  wchar_t program[MAX_PATH];
  const DWORD length =
      GetEnvironmentVariableW(velbor::testing::kLingeringChildVariable, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return true;
  std::wstring line = L"\"" + std::wstring(program, length) + L"\" \"" + serverPath + L".child\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

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
  if (!velbor::testing::WriteProcessTrace(path + L".registered")) return E_FAIL;
  if (!StartLingeringChild(path)) return E_FAIL;
  const velbor::UniqueKernelHandle slow(
      OpenEventW(SYNCHRONIZE, FALSE, velbor::testing::kSlowRegistration));
  if (slow.IsValid()) WaitForSingleObject(slow.Get(), 60 * 1000);
  return S_OK;
}
