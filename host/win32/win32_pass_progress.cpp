#include "host/win32/win32_pass_progress.h"

namespace velbor {
namespace {

void ShowPointer(const wchar_t* pointer) { SetCursor(LoadCursorW(nullptr, pointer)); }

// The quit request belongs to the loop that ends the program; put back for it.
bool PutBackQuit(const MSG& message) {
  if (message.message != WM_QUIT) return false;
  PostQuitMessage(static_cast<int>(message.wParam));
  return true;
}

// Answers the messages that other threads and programs are waiting on and paints
// what needs it; nothing else is taken from the queue.
void AnswerAndRepaint() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_PAINT)) {
    if (PutBackQuit(message)) return;
    DispatchMessageW(&message);
  }
}

// Takes every click, mouse move and key queued for the thread's windows and drops it.
void DropInput() {
  constexpr UINT kInputRanges[][2] = {{WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
                                      {WM_KEYFIRST, WM_KEYLAST},
                                      {WM_MOUSEFIRST, WM_MOUSELAST}};
  MSG message;
  for (const auto& range : kInputRanges) {
    while (PeekMessageW(&message, nullptr, range[0], range[1], PM_REMOVE)) {
      if (PutBackQuit(message)) return;
    }
  }
}

}  // namespace

void Win32PassProgress::SetMainWindow(HWND window) { taskbar_.Attach(window); }

bool Win32PassProgress::HandleWindowMessage(UINT message, LRESULT& result) {
  if (message == WM_SETCURSOR && busy_) {
    ShowPointer(IDC_WAIT);
    result = TRUE;
    return true;
  }
  if (taskbar_.IsCreatedMessage(message)) {
    taskbar_.Created();
    result = 0;
    return true;
  }
  return false;
}

void Win32PassProgress::PassBegins() {
  busy_ = true;
  ShowPointer(IDC_WAIT);
}

void Win32PassProgress::ShowWritten(std::uint64_t written, std::uint64_t total) {
  taskbar_.ShowProgress(written, total);
  AnswerAndRepaint();
}

void Win32PassProgress::PassEnded() {
  // Still busy while the input goes, so that the pointer does not flicker.
  DropInput();
  busy_ = false;
  ShowPointer(IDC_ARROW);
  taskbar_.ShowNothing();
}

void Win32PassProgress::ShowWaitingToRetry(bool waiting) {
  if (waiting) {
    taskbar_.ShowPaused();
  } else {
    taskbar_.ShowNothing();
  }
}

}  // namespace velbor
