// Started by the process tests: writes to the file named by its first argument
// how it was asked to show its window and the rest of its arguments, one a line.
#include <string>

#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

int wmain(int argumentCount, wchar_t** arguments) {
  if (argumentCount < 2) return 2;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  std::wstring trace = L"show ";
  trace += (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(startup.wShowWindow) : L"-";
  trace += L"\n";
  for (int i = 2; i < argumentCount; ++i) trace += std::wstring(arguments[i]) + L"\n";

  // Written aside and renamed, so that the test never reads half a trace.
  const std::wstring target = arguments[1];
  const std::wstring partial = target + L".partial";
  {
    velbor::UniqueFileHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const auto size = static_cast<DWORD>(trace.size() * sizeof(wchar_t));
    if (!file.IsValid() || !WriteFile(file.Get(), trace.data(), size, &written, nullptr)) {
      return 1;
    }
  }
  return MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
