#include "host/win32/win32_pass_progress.h"

#include "host/failure.h"

namespace velbor {
namespace {

// What Windows shows beside the program while it refuses to let the session end.
constexpr wchar_t kShutdownBlockedReason[] = L"Aggiornamento in corso";

// Touch (WM_TOUCH, Windows 7) and pen and touch pointers (WM_NCPOINTERUPDATE to
// WM_POINTERHWHEEL, Windows 8 and later), which the Windows 7 headers do not name.
constexpr UINT kFirstTouchMessage = 0x0240;
constexpr UINT kLastPointerMessage = 0x024F;

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

// Takes every click, tap, mouse move and key queued for the thread's windows and
// drops it; an unhandled pointer message would otherwise become a click.
void DropInput() {
  constexpr UINT kInputRanges[][2] = {{WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
                                      {WM_KEYFIRST, WM_KEYLAST},
                                      {WM_MOUSEFIRST, WM_MOUSELAST},
                                      {WM_GESTURE, WM_GESTURE},
                                      {kFirstTouchMessage, kLastPointerMessage}};
  MSG message;
  for (const auto& range : kInputRanges) {
    while (PeekMessageW(&message, nullptr, range[0], range[1], PM_REMOVE)) {
      if (PutBackQuit(message)) return;
    }
  }
}

}  // namespace

void Win32PassProgress::SetMainWindow(HWND window) {
  window_ = window;
  taskbar_.Attach(window);
}

bool Win32PassProgress::HandleWindowMessage(UINT message, WPARAM wParam, LRESULT& result) {
  if (busy_) {
    switch (message) {
      case WM_SETCURSOR:
        ShowPointer(IDC_WAIT);
        result = TRUE;
        return true;
      case WM_QUERYENDSESSION:
        // Ending now would leave later items old and a written library
        // unregistered: the pass asks for the time to finish.
        result = FALSE;
        return true;
      case WM_CLOSE:
        result = 0;
        return true;
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) break;
        result = 0;
        return true;
      case WM_ENDSESSION:
        // The session ends anyway, and the process with it once this returns:
        // the write under way finishes or its temporary file vanishes, and no
        // later file is begun.
        if (wParam != FALSE) sessionEnding_ = true;
        result = 0;
        return true;
      default:
        break;
    }
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
  // Only shown to the user; a pass without it is still refused its end.
  if (window_ != nullptr) ShutdownBlockReasonCreate(window_, kShutdownBlockedReason);
}

void Win32PassProgress::ShowWritten(std::uint64_t written, std::uint64_t total) {
  taskbar_.ShowProgress(written, total);
  AnswerAndRepaint();
  if (sessionEnding_) {
    throw HostFailure(failure::kInvalidArgument, u"Windows is ending the session");
  }
}

void Win32PassProgress::PassEnded() {
  // Still busy while the input goes, so that the pointer does not flicker.
  DropInput();
  busy_ = false;
  if (window_ != nullptr) ShutdownBlockReasonDestroy(window_);
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
