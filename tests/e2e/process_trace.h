#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/win32/windows_api.h"

namespace velbor::testing {

// How a program that the installer started was started, as it recorded itself:
// what a test can check of a registration without the real tool.
struct ProcessTrace {
  DWORD processId = 0;
  // The program file that runs.
  std::wstring program;
  // The window style it was asked to show with, in decimal, or "-" for none.
  std::wstring showWindow;
  // The folder it was started in, as GetCurrentDirectoryW gives it.
  std::wstring currentFolder;
  std::wstring commandLine;
};

// The event that the test COM server's registration waits for, when it exists.
inline constexpr wchar_t kSlowRegistration[] = L"Local\\VelborSlowRegistration";

// The program that the test COM server's registration starts with inheritance,
// when this environment variable names one; it lives until the event is set.
inline constexpr wchar_t kLingeringChildVariable[] = L"VELBOR_LINGERING_CHILD";
inline constexpr wchar_t kLingeringChildLetGo[] = L"Local\\VelborLingeringChildLetGo";

// The file of a loaded module; of the program itself for null.
std::wstring ModuleFilePath(HMODULE module);

// Records the calling process into the file `path`. Written aside and renamed, so
// that a reader never sees half a trace.
bool WriteProcessTrace(const std::wstring& path);

// The trace that WriteProcessTrace wrote, from the file's bytes.
std::optional<ProcessTrace> ParseProcessTrace(const std::vector<std::uint8_t>& bytes);

// Waits until the traced process has ended, so that the files it had loaded can
// go; one that has gone already has ended.
bool WaitForProcessEnd(DWORD processId, std::chrono::milliseconds timeout);

}  // namespace velbor::testing
