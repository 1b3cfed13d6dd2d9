// Stands in for regasm.exe at its fixed path: records how it was started in a
// trace of its own beside itself, "regasm-<process id>.trace", since the installer
// starts two of it at once. Like regasm, it writes the type library that "/tlb:"
// names into its current folder when the name has no folder.
#include <string>

#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"
#include "tests/e2e/process_trace.h"

namespace {

// The name after " /tlb:", unquoted.
std::wstring TypeLibraryName() {
  const std::wstring line = GetCommandLineW();
  const std::size_t at = line.find(L" /tlb:");
  if (at == std::wstring::npos) return {};
  std::wstring name = line.substr(at + 6);
  if (!name.empty() && name.front() == L'"') return name.substr(1, name.find(L'"', 1) - 1);
  return name.substr(0, name.find(L' '));
}

}  // namespace

int wmain() {
  const std::wstring typeLibrary = TypeLibraryName();
  if (!typeLibrary.empty()) {
    const velbor::UniqueFileHandle file(CreateFileW(typeLibrary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return 1;
  }
  std::wstring trace = velbor::testing::ModuleFilePath(nullptr);
  if (trace.empty()) return 1;
  trace.resize(trace.find_last_of(L'\\') + 1);
  trace += L"regasm-";
  trace += std::to_wstring(GetCurrentProcessId());
  trace += L".trace";
  return velbor::testing::WriteProcessTrace(trace) ? 0 : 1;
}
