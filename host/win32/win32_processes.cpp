#include "host/win32/win32_processes.h"

#include <memory>
#include <string>
#include <utility>

#include "host/failure.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"
#include "host/win32/win32_file_hold.h"
#include "host/win32/windows_api.h"

namespace velbor {
namespace {

// What stays with a started program until it ends.
struct ProgramWatch {
  UniqueKernelHandle process;
  std::wstring commandLine;
};

// Runs on a pool thread: waits for the program's end, tells a debugger how it
// ended, and lets go of the program.
DWORD WINAPI WatchUntilEnded(void* context) {
  const std::unique_ptr<ProgramWatch> watch(static_cast<ProgramWatch*>(context));
  WaitForSingleObject(watch->process.Get(), INFINITE);
  try {
    DWORD exitCode = 0;
    std::wstring report = L"Velbor setup: ";
    report += GetExitCodeProcess(watch->process.Get(), &exitCode)
                  ? L"exit code " + std::to_wstring(exitCode)
                  : std::wstring(L"exit code unknown");
    report += L" of " + watch->commandLine + L"\n";
    OutputDebugStringW(report.c_str());
  } catch (...) {
    // Out of memory for the report: it is only a diagnostic.
  }
  return 0;
}

// Gives the started, still suspended `process` its own copy of a hold, which the
// system closes only when that program ends, whenever the installer ends. For
// reading only, whatever the hold was opened with: the elevated tool must never
// be able to write through it. Not inheritable, so that a program the tool starts
// in turn (a long-lived one, say) does not keep the file held: no inheritable copy
// ever exists, in the installer or in the tool.
void GiveReadOnlyCopy(const FileHold& hold, HANDLE process) {
  const auto* fileHold = dynamic_cast<const Win32FileHold*>(&hold);
  if (fileHold == nullptr) throw HostFailure(failure::kInvalidArgument);
  HANDLE copy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), fileHold->Handle(), process, &copy, FILE_GENERIC_READ,
                       FALSE, 0)) {
    throw FailureFromLastError();
  }
}

// Lets the started, still suspended program run once its hold and its watch are in
// place; `watch` is the pool thread's once it runs. Answers the caller's own
// handle of the program, for waiting.
UniqueKernelHandle LetRun(const PROCESS_INFORMATION& started, std::unique_ptr<ProgramWatch>& watch,
                          const FileHold* heldUntilEnded) {
  // The program holds the file itself: the hold then lasts exactly as long as the
  // program, even when the installer ends first, as it does when the user answers
  // the completion box at once.
  if (heldUntilEnded != nullptr) GiveReadOnlyCopy(*heldUntilEnded, started.hProcess);
  // The caller's own handle, for waiting: the watch's goes with the watch.
  HANDLE ownCopy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), started.hProcess, GetCurrentProcess(), &ownCopy,
                       SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 0)) {
    throw FailureFromLastError();
  }
  UniqueKernelHandle process(ownCopy);
  // Nobody waits for the program here: a pool thread does, for as long as it runs.
  if (!QueueUserWorkItem(WatchUntilEnded, watch.get(), WT_EXECUTELONGFUNCTION)) {
    throw FailureFromLastError();
  }
  // The watch is the pool thread's now; it stays until the program has ended.
  watch.release();
  if (ResumeThread(started.hThread) == static_cast<DWORD>(-1)) throw FailureFromLastError();
  return process;
}

}  // namespace

bool WaitWithoutAnswering(HANDLE object, DWORD milliseconds) {
  const DWORD result = WaitForSingleObject(object, milliseconds);
  if (result == WAIT_FAILED) throw FailureFromLastError();
  return result == WAIT_OBJECT_0;
}

void Win32Processes::StartProcess(const Text& program, const Text& commandLine,
                                  WindowStyle windowStyle, const Text& workingFolder,
                                  SharedFileHold heldUntilEnded) {
  Start(program, commandLine, windowStyle, workingFolder, std::move(heldUntilEnded));
}

std::optional<std::uint32_t> Win32Processes::StartAndAwait(
    const Text& program, const Text& commandLine, WindowStyle windowStyle,
    const Text& workingFolder, SharedFileHold heldUntilEnded, std::chrono::milliseconds limit) {
  const UniqueKernelHandle process =
      Start(program, commandLine, windowStyle, workingFolder, std::move(heldUntilEnded));
  if (!wait_(process.Get(), static_cast<DWORD>(limit.count()))) return std::nullopt;
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.Get(), &exitCode)) throw FailureFromLastError();
  return exitCode;
}

UniqueKernelHandle Win32Processes::Start(const Text& program, const Text& commandLine,
                                         WindowStyle windowStyle, const Text& workingFolder,
                                         SharedFileHold heldUntilEnded) {
  // A NUL would start a shorter command, or another program, than the one given.
  if (commandLine.empty() || commandLine.find(u'\0') != Text::npos ||
      program.find(u'\0') != Text::npos || workingFolder.find(u'\0') != Text::npos) {
    throw HostFailure(failure::kInvalidArgument);
  }
  const std::wstring programFile = WideFromText(program);
  const std::wstring folder = WideFromText(workingFolder);
  auto watch = std::make_unique<ProgramWatch>(ProgramWatch{{}, WideFromText(commandLine)});
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring line = watch->commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = windowStyle == WindowStyle::kHidden ? SW_HIDE : SW_SHOWMINIMIZED;
  // Started suspended, so that it never runs without its watch or its hold, and
  // inheriting nothing of the installer's.
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.empty() ? nullptr : programFile.c_str(), line.data(), nullptr,
                      nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
    throw FailureFromLastError();
  }
  watch->process = UniqueKernelHandle(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  // Whatever fails from here on ends the program before it has run at all.
  try {
    return LetRun(started, watch, heldUntilEnded.get());
  } catch (const HostFailure&) {
    TerminateProcess(started.hProcess, ERROR_CANCELLED);
    throw;
  }
}

Text Win32Processes::SystemFolder() {
  // A 32-bit process on 64-bit Windows is shown its own, 32-bit system folder.
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) throw FailureFromLastError();
  return TextFromWide(std::wstring_view(folder, length));
}

Text Win32Processes::WindowsFolder() {
  // The shared Windows folder, even where each user of a server has one of their own.
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) throw FailureFromLastError();
  return TextFromWide(std::wstring_view(folder, length));
}

}  // namespace velbor
