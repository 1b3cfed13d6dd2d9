#include "tests/e2e/installer_process.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "gtest/gtest.h"
#include "host/win32/wide_text.h"
#include "tests/win32/box_controls.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

constexpr wchar_t kMainWindowClass[] = L"VelborForm1";
constexpr wchar_t kBoxClass[] = L"#32770";
constexpr int kStartButtonId = 1;
constexpr auto kPollInterval = std::chrono::milliseconds(20);
// How long a program that is asked to close may take before it is ended.
constexpr std::chrono::milliseconds kClosingTime{5000};

std::string Narrow(const std::wstring& text) { return Utf8FromText(TextFromWide(text)); }

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectIfVisibleOfProcess(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<WindowSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == wanted->processId && IsWindowVisible(window) &&
      IsOfClass(window, wanted->className)) {
    wanted->found.push_back(window);
  }
  return TRUE;
}

// The program's visible top-level windows of a class.
std::vector<HWND> VisibleWindows(DWORD processId, const wchar_t* className) {
  WindowSearch search{processId, className, {}};
  EnumWindows(CollectIfVisibleOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Polls `done` until it holds or `timeout` passes, and answers the last look.
template <typename Condition>
bool PollUntil(Condition done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace

std::wstring StoredText(HWND window) {
  std::wstring text(1024, L'\0');
  const int length = InternalGetWindowText(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return text;
}

InstallerProcess::InstallerProcess(const std::wstring& program, const std::wstring& workingFolder) {
  std::wstring line = Quoted(program);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingFolder.c_str(), &startup, &started)) {
    throw std::runtime_error("cannot start " + Narrow(program));
  }
  process_ = UniqueKernelHandle(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
  processId_ = started.dwProcessId;
  PollUntil(
      [&] {
        const std::vector<HWND> windows = VisibleWindows(processId_, kMainWindowClass);
        if (!windows.empty()) window_ = windows.front();
        return window_ != nullptr || HasEnded();
      },
      kPatience);
  if (window_ == nullptr) {
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    ADD_FAILURE() << "the window of " << Narrow(program) << " did not show; "
                  << (HasEnded() ? "the program ended with code " + std::to_string(code)
                                 : std::string("the program runs on"));
  }
}

InstallerProcess::~InstallerProcess() {
  if (HasEnded()) return;
  // A box still open was left by a case that failed or forgot it.
  PollUntil(
      [&] {
        SweepBoxes(nullptr);
        return VisibleWindows(processId_, kBoxClass).empty();
      },
      kClosingTime);
  Close();
  if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(kClosingTime.count())) !=
      WAIT_OBJECT_0) {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), static_cast<DWORD>(kClosingTime.count()));
  }
}

HWND InstallerProcess::StartButton() const { return GetDlgItem(window_, kStartButtonId); }

std::wstring InstallerProcess::StartButtonCaption() const { return StoredText(StartButton()); }

void InstallerProcess::PressStart() const { PostMessageW(StartButton(), BM_CLICK, 0, 0); }

void InstallerProcess::Close() const {
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
}

bool InstallerProcess::WaitForCaption(const std::wstring& caption,
                                      std::chrono::milliseconds timeout) {
  return PollUntil(
      [&] {
        SweepBoxes(nullptr);
        return StartButtonCaption() == caption;
      },
      timeout);
}

HWND InstallerProcess::WaitForBox(const std::wstring& title, std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  PollUntil(
      [&] {
        box = SweepBoxes(&title);
        return box != nullptr || HasEnded();
      },
      timeout);
  return box;
}

bool InstallerProcess::Answer(HWND box, int buttonId, std::chrono::milliseconds timeout) {
  PostMessageW(GetDlgItem(box, buttonId), BM_CLICK, 0, 0);
  return PollUntil([&] { return !IsWindow(box); }, timeout);
}

void InstallerProcess::Kill() const {
  TerminateProcess(process_.Get(), 1);
  WaitForSingleObject(process_.Get(), INFINITE);
}

std::optional<DWORD> InstallerProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (!PollUntil(
          [&] {
            SweepBoxes(nullptr);
            return HasEnded();
          },
          timeout)) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return code;
}

HWND InstallerProcess::SweepBoxes(const std::wstring* awaited) {
  HWND answer = nullptr;
  for (HWND box : VisibleWindows(processId_, kBoxClass)) {
    const std::wstring title = StoredText(box);
    if (awaited != nullptr && answer == nullptr && title == *awaited) {
      answer = box;
      continue;
    }
    if (std::find(reported_.begin(), reported_.end(), box) == reported_.end()) {
      reported_.push_back(box);
      std::wstring texts;
      for (const std::wstring& text : StaticTexts(box)) {
        texts += L" [";
        texts += text;
        texts += L"]";
      }
      ADD_FAILURE() << "a box nobody waited for: \"" << Narrow(title) << "\"" << Narrow(texts);
    }
    // Cancel for boxes that have it, No for a question; a box that ignores one of
    // them gets both again at the next look.
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(box, WM_COMMAND, IDNO, 0);
  }
  return answer;
}

bool InstallerProcess::HasEnded() const {
  return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0;
}

}  // namespace velbor::testing
