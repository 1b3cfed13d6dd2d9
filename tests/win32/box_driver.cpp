#include "tests/win32/box_driver.h"

#include <chrono>

#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

constexpr auto kPatience = std::chrono::seconds(20);

HWND WaitForVisibleBox(const std::wstring& caption) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    HWND box = FindWindowW(L"#32770", caption.c_str());
    if (box != nullptr && IsWindowVisible(box)) return box;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return nullptr;
}

bool WaitUntilGone(HWND box) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    if (!IsWindow(box)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Ends a box the way its buttons would: Cancel, else No.
BOOL CALLBACK CancelIfBox(HWND window, LPARAM) {
  if (IsOfClass(window, L"#32770")) {
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(window, WM_COMMAND, IDNO, 0);
  }
  return TRUE;
}

}  // namespace

BoxDriver::BoxDriver(std::wstring caption, std::function<void(HWND box)> answer)
    : boxThread_(GetCurrentThreadId()),
      thread_(&BoxDriver::Drive, this, std::move(caption), std::move(answer)) {}

BoxDriver::~BoxDriver() { Finish(); }

bool BoxDriver::Finish() {
  if (thread_.joinable()) thread_.join();
  return answered_;
}

void BoxDriver::Drive(std::wstring caption, std::function<void(HWND)> answer) {
  HWND box = WaitForVisibleBox(caption);
  if (box != nullptr) {
    answer(box);
    answered_ = WaitUntilGone(box);
  }
  // Keep cancelling until the box thread shows nothing more (a box of another
  // caption, or one that ignored the answer).
  if (!answered_) {
    for (int round = 0; round < 50; ++round) {
      EnumThreadWindows(boxThread_, CancelIfBox, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
}

void Press(HWND box, int buttonId) { SendMessageW(GetDlgItem(box, buttonId), BM_CLICK, 0, 0); }

}  // namespace velbor::testing
