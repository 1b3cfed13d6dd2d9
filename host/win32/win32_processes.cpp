#include "host/win32/win32_processes.h"

#include <string>

#include "host/failure.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"
#include "host/win32/windows_api.h"

namespace velbor {
namespace {

WORD ShowCommandFor(std::int32_t windowStyle) {
  switch (windowStyle) {
    case window_style::kHidden:
      return SW_HIDE;
    case window_style::kMinimizedFocus:
      return SW_SHOWMINIMIZED;
    default:
      throw HostFailure(failure::kInvalidArgument);
  }
}

}  // namespace

void Win32Processes::StartProcess(const Text& program, const Text& commandLine,
                                  std::int32_t windowStyle) {
  const WORD showCommand = ShowCommandFor(windowStyle);
  // A NUL would start a shorter command, or another program, than the one given.
  if (commandLine.empty() || commandLine.find(u'\0') != Text::npos ||
      program.find(u'\0') != Text::npos) {
    throw HostFailure(failure::kInvalidArgument);
  }
  const std::wstring programFile = WideFromText(program);
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring line = WideFromText(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showCommand;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.empty() ? nullptr : programFile.c_str(), line.data(), nullptr,
                      nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    throw FailureFromLastError();
  }
  // Nobody waits for the program, so its handles are of no further use.
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
}

Text Win32Processes::SystemFolder() {
  // A 32-bit process on 64-bit Windows is shown its own, 32-bit system folder.
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) throw FailureFromLastError();
  return TextFromWide(std::wstring_view(folder, length));
}

}  // namespace velbor
