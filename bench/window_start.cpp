#include "bench/window_start.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

namespace velbor::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kMainWindowClass[] = L"VelborForm1";
// Fine against the one second allowed; coarse enough to leave the installer the CPU.
constexpr auto kPollInterval = std::chrono::milliseconds(5);
constexpr auto kPatience = std::chrono::seconds(20);
constexpr DWORD kClosingMilliseconds = 5000;

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK StopAtVisibleMainWindow(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<WindowSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[32] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  if (owner == wanted->processId && IsWindowVisible(window) &&
      std::wstring_view(className) == kMainWindowClass) {
    wanted->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleMainWindow(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(StopAtVisibleMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

double SecondsUntilWindowShows(const std::wstring& program) {
  std::wstring line = L"\"";
  line.append(program).append(L"\"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const Clock::time_point start = Clock::now();
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    throw std::runtime_error("the installer cannot be started, error " +
                             std::to_string(GetLastError()));
  }
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
  HWND window = nullptr;
  while ((window = VisibleMainWindow(started.dwProcessId)) == nullptr) {
    if (Clock::now() - start > kPatience ||
        WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0) {
      TerminateProcess(process.Get(), 1);
      throw std::runtime_error("the installer showed no window");
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.Get(), kClosingMilliseconds) != WAIT_OBJECT_0) {
    TerminateProcess(process.Get(), 1);
    WaitForSingleObject(process.Get(), kClosingMilliseconds);
  }
  return seconds;
}

}  // namespace velbor::bench
