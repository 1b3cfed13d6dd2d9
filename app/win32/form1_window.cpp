#include "app/win32/form1_window.h"

#include <utility>

#include "app/exit_codes.h"
#include "host/application_title.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"
#include "host/win32/window_dpi.h"

namespace velbor {
namespace {

constexpr wchar_t kWindowClass[] = L"VelborForm1";
constexpr wchar_t kStartButtonCaption[] = L"Installa Brevanti";
constexpr int kStartButtonId = 1;
constexpr UINT_PTR kRetryTimerId = 1;
constexpr WORD kIconGroup = 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Layout in twips: 1440 to the inch, 15 to a pixel at 96 DPI.
constexpr int kClientWidth = 8355;
constexpr int kClientHeight = 2055;
constexpr RECT kStartButton = {225, 330, 225 + 7935, 330 + 1500};
// "MS Sans Serif" at 9.75 points, in hundredths of a point.
constexpr int kButtonFontCentipoints = 975;

int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

HFONT CreateButtonFont(UINT dpi) {
  const int height = -MulDiv(kButtonFontCentipoints, static_cast<int>(dpi), 7200);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

}  // namespace

ATOM Form1Window::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Form1Window::WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconGroup));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconGroup),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass);
}

Form1Window::Form1Window(HINSTANCE instance, UINT timerIntervalMilliseconds,
                         Win32PassProgress& progress)
    : timerInterval_(timerIntervalMilliseconds), progress_(progress) {
  if (RegisterWindowClass(instance) == 0) throw FailureFromLastError();
  if (CreateWindowExW(0, kWindowClass, WideFromText(kApplicationTitle).c_str(), kWindowStyle,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                      instance, this) == nullptr) {
    throw FailureFromLastError();
  }
  startButton_ = CreateWindowExW(
      0, L"BUTTON", kStartButtonCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
      0, 0, 0, window_, reinterpret_cast<HMENU>(kStartButtonId), instance, nullptr);
  if (startButton_ == nullptr) {
    const HostFailure failure = FailureFromLastError();
    DestroyWindow(window_);
    throw failure;
  }
  LayOut(WindowDpi(window_));
}

Form1Window::~Form1Window() {
  if (IsWindow(window_)) DestroyWindow(window_);
}

void Form1Window::SetHandlers(std::function<void()> startPressed, std::function<void()> timerTicked,
                              std::function<void()> payloadChecked) {
  startPressed_ = std::move(startPressed);
  timerTicked_ = std::move(timerTicked);
  payloadChecked_ = std::move(payloadChecked);
}

void Form1Window::PressStartLater() const {
  PostMessageW(window_, WM_COMMAND, MAKEWPARAM(kStartButtonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(startButton_));
}

bool Form1Window::BringRunningToFront() {
  const HWND running = FindWindowW(kWindowClass, nullptr);
  if (running == nullptr) return false;
  if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
  SetForegroundWindow(running);
  return true;
}

void Form1Window::SetStartButtonCaption(const Text& caption) {
  SetWindowTextW(startButton_, WideFromText(caption).c_str());
}

void Form1Window::SetTimerEnabled(bool enabled) {
  // Enabling a running timer leaves its countdown alone, as a timer control does.
  if (enabled == timerEnabled_) return;
  if (enabled) {
    if (SetTimer(window_, kRetryTimerId, timerInterval_, nullptr) == 0) {
      throw FailureFromLastError();
    }
    timerEnabled_ = true;
  } else {
    KillTimer(window_, kRetryTimerId);
    timerEnabled_ = false;
  }
}

void Form1Window::Show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  SetFocus(startButton_);
}

LRESULT CALLBACK Form1Window::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // The window learns its object before any other message reaches it.
    auto* self =
        static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; progress_.HandleWindowMessage(message, wParam, result)) return result;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kStartButtonId && HIWORD(wParam) == BN_CLICKED && startPressed_) {
        startPressed_();
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kRetryTimerId && timerTicked_) {
        timerTicked_();
        return 0;
      }
      break;
    case kPayloadCheckedMessage:
      if (payloadChecked_) payloadChecked_();
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut(HIWORD(wParam));
      return 0;
    }
    case WM_DESTROY:
      // Closing the window ends the program at once; the only other way out is the
      // end after a successful pass, which does not come here.
      PostQuitMessage(kExitEndedByUser);
      return 0;
    case WM_NCDESTROY: {
      const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
      window_ = nullptr;
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1Window::LayOut(UINT dpi) {
  RECT frame = {0, 0, TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi)};
  AdjustWindowRectForDpi(frame, kWindowStyle, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const int left = TwipsToPixels(kStartButton.left, dpi);
  const int top = TwipsToPixels(kStartButton.top, dpi);
  MoveWindow(startButton_, left, top, TwipsToPixels(kStartButton.right, dpi) - left,
             TwipsToPixels(kStartButton.bottom, dpi) - top, TRUE);

  // The old font goes only once the button uses the new one.
  UniqueFont font(CreateButtonFont(dpi));
  SendMessageW(startButton_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  buttonFont_ = std::move(font);
}

int RunMessageLoop(HWND dialogLikeWindow) {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    // Lets the keyboard press the button as in a dialog (Tab, Enter, Space).
    if (IsDialogMessageW(dialogLikeWindow, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // A loop that breaks down is the program failing, not the user ending it.
  return got == 0 ? static_cast<int>(message.wParam) : kExitFailed;
}

}  // namespace velbor
