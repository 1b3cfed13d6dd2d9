// Stands in for regasm.exe at its fixed path: records how it was started in a
// trace of its own beside itself, "regasm-<process id>.trace", since the installer
// starts two of it at once.
#include <string>

#include "host/win32/windows_api.h"
#include "tests/e2e/process_trace.h"

int wmain() {
  std::wstring trace = velbor::testing::ModuleFilePath(nullptr);
  if (trace.empty()) return 1;
  trace.resize(trace.find_last_of(L'\\') + 1);
  trace += L"regasm-";
  trace += std::to_wstring(GetCurrentProcessId());
  trace += L".trace";
  return velbor::testing::WriteProcessTrace(trace) ? 0 : 1;
}
