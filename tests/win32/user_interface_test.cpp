#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "gtest/gtest.h"
#include "host/application_title.h"
#include "host/failure.h"
#include "host/win32/ask_text_dialog.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_pass_progress.h"
#include "host/win32/win32_user_interface.h"
#include "tests/support/failures.h"
#include "tests/win32/box_controls.h"
#include "tests/win32/box_driver.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

// What the driver saw of an input box, checked once the box has closed.
struct InputBoxSeen {
  std::wstring prompt;
  std::wstring field;
  DWORD selectionStart = 1;
  DWORD selectionEnd = 0;
  bool fieldHasFocus = false;
  bool okIsDefault = false;
};

InputBoxSeen LookAt(HWND box) {
  InputBoxSeen seen;
  seen.prompt = AskedText(GetDlgItem(box, ask_text_control::kPrompt));
  HWND field = GetDlgItem(box, ask_text_control::kAnswer);
  seen.field = AskedText(field);
  SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.selectionStart),
               reinterpret_cast<LPARAM>(&seen.selectionEnd));
  GUITHREADINFO focus{};
  focus.cbSize = sizeof focus;
  seen.fieldHasFocus =
      GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &focus) && focus.hwndFocus == field;
  seen.okIsDefault = LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0)) == IDOK;
  return seen;
}

TEST(Win32UserInterfaceTest, AskTextAnswersTheTextTypedAndOk) {
  Win32UserInterface ui;
  InputBoxSeen seen;
  BoxDriver driver(L"Setup", [&](HWND box) {
    seen = LookAt(box);
    SetWindowTextW(GetDlgItem(box, ask_text_control::kAnswer), L"D:\\Altrove\\");
    Press(box, IDOK);
  });
  const Text answer = ui.AskText(u"Dov'è Corsenta? & altro", u"Setup", u"C:\\Velbor\\Corsenta\\");
  ASSERT_TRUE(driver.Finish());
  EXPECT_EQ(answer, u"D:\\Altrove\\");
  EXPECT_EQ(seen.prompt, L"Dov'è Corsenta? & altro");
  EXPECT_EQ(seen.field, L"C:\\Velbor\\Corsenta\\");
  EXPECT_EQ(seen.selectionStart, 0u);
  EXPECT_EQ(seen.selectionEnd, seen.field.size());
  EXPECT_TRUE(seen.fieldHasFocus);
  EXPECT_TRUE(seen.okIsDefault);
}

TEST(Win32UserInterfaceTest, AskTextAnswersEmptyWhenCancelled) {
  Win32UserInterface ui;
  BoxDriver driver(L"Setup", [](HWND box) {
    SetWindowTextW(GetDlgItem(box, ask_text_control::kAnswer), L"typed, then cancelled");
    Press(box, IDCANCEL);
  });
  EXPECT_EQ(ui.AskText(u"Where?", u"Setup", u"C:\\"), u"");
  EXPECT_TRUE(driver.Finish());
}

TEST(Win32UserInterfaceTest, ShowMessageWithoutTitleShowsTheApplicationsTitle) {
  Win32UserInterface ui;
  std::vector<std::wstring> texts;
  BoxDriver driver(WideFromText(kApplicationTitle), [&](HWND box) {
    texts = StaticTexts(box);
    Press(box, IDOK);
  });
  EXPECT_EQ(ui.ShowMessage(u"Aggiornamento terminato!", MessageStyle::kInformation, std::nullopt),
            MessageAnswer::kOk);
  ASSERT_TRUE(driver.Finish());
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"Aggiornamento terminato!"), texts.end());
}

TEST(Win32UserInterfaceTest, ShowMessageAnswersTheButtonPressed) {
  Win32UserInterface ui;
  BoxDriver driver(L"Velbor S.r.l.", [](HWND box) { Press(box, IDYES); });
  EXPECT_EQ(ui.ShowMessage(u"Interrompere?", MessageStyle::kQuestionYesNo, u"Velbor S.r.l."),
            MessageAnswer::kYes);
  EXPECT_TRUE(driver.Finish());
}

// Records the messages that reach a message-only window, letting `progress`, when
// given, handle its own first, as the installer's window does.
class CountingWindow {
 public:
  explicit CountingWindow(Win32PassProgress* progress = nullptr) : progress_(progress) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &CountingWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelborCountingWindow";
    RegisterClassW(&windowClass);
    window_ = CreateWindowW(L"VelborCountingWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  CountingWindow(const CountingWindow&) = delete;
  CountingWindow& operator=(const CountingWindow&) = delete;
  ~CountingWindow() { DestroyWindow(window_); }

  HWND Get() const { return window_; }
  int Count() const { return Received(WM_APP); }
  int Received(UINT message) const {
    return static_cast<int>(std::count(received_.begin(), received_.end(), message));
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CountingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
      self->received_.push_back(message);
      LRESULT result = 0;
      if (self->progress_ != nullptr &&
          self->progress_->HandleWindowMessage(message, wParam, result)) {
        return result;
      }
      if (message == WM_APP) return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  Win32PassProgress* progress_;
  HWND window_;
  std::vector<UINT> received_;
};

TEST(Win32UserInterfaceTest, PumpMessagesHandlesWhatIsPendingAndKeepsAQuit) {
  Win32UserInterface ui;
  CountingWindow window;
  ASSERT_NE(window.Get(), nullptr);
  for (int i = 0; i < 3; ++i) PostMessageW(window.Get(), WM_APP, 0, 0);
  ui.PumpMessages();
  EXPECT_EQ(window.Count(), 3);

  PostMessageW(window.Get(), WM_APP, 0, 0);
  PostQuitMessage(7);
  ui.PumpMessages();
  EXPECT_EQ(window.Count(), 4);
  MSG quit;
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
}

// While a pass writes, a message that another thread sends is answered; clicks,
// keys and posted messages, the timer's ticks among them, wait, and the input
// among them is dropped when the pass ends.
TEST(Win32PassProgressTest, AnswersSentMessagesDuringAPassAndDropsItsInputAtTheEnd) {
  Win32PassProgress progress;
  CountingWindow window(&progress);
  progress.SetMainWindow(window.Get());
  // No taskbar under Wine takes progress, but the way to it runs all the same.
  SendMessageW(window.Get(), RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
  progress.PassBegins();
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  // Input as a mouse, a keyboard, a finger (WM_TOUCH) and a pen (WM_POINTERDOWN) give it.
  constexpr UINT kTouch = 0x0240;
  constexpr UINT kPointerDown = 0x0246;
  const UINT kInput[] = {WM_LBUTTONDOWN, WM_KEYDOWN, kTouch, kPointerDown};
  for (const UINT input : kInput) PostMessageW(window.Get(), input, 0, 0);
  PostMessageW(window.Get(), WM_APP, 0, 0);
  ASSERT_NE(SetTimer(window.Get(), 1, 1, nullptr), 0u);
  Sleep(20);

  std::atomic<bool> answered{false};
  std::thread sender([&] {
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(window.Get(), WM_APP + 1, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
  });
  for (int look = 0; look < 500 && !answered; ++look) {
    progress.ShowWritten(look, 500);
    Sleep(10);
  }
  sender.join();
  EXPECT_TRUE(answered);
  EXPECT_EQ(window.Received(WM_APP + 1), 1);
  EXPECT_EQ(SendMessageW(window.Get(), WM_SETCURSOR, 0, 0), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  for (UINT waiting : {WM_LBUTTONDOWN, WM_KEYDOWN, WM_APP, WM_TIMER}) {
    EXPECT_EQ(window.Received(waiting), 0) << waiting;
  }
  // Nothing sent ends the pass: the session's end is refused, a close ignored.
  EXPECT_EQ(SendMessageW(window.Get(), WM_QUERYENDSESSION, 0, 0), FALSE);
  SendMessageW(window.Get(), WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageW(window.Get(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window.Get()));

  progress.ShowWaitingToRetry(true);
  progress.PassEnded();
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
  Win32UserInterface().PumpMessages();
  KillTimer(window.Get(), 1);
  for (const UINT input : kInput) EXPECT_EQ(window.Received(input), 0) << input;
  EXPECT_EQ(window.Count(), 1);
  EXPECT_GE(window.Received(WM_TIMER), 1);
  EXPECT_EQ(SendMessageW(window.Get(), WM_QUERYENDSESSION, 0, 0), TRUE);

  // A session that ends anyway lets the write under way end and stops the pass.
  progress.PassBegins();
  SendMessageW(window.Get(), WM_ENDSESSION, TRUE, 0);
  EXPECT_TRUE(IsWindow(window.Get()));
  EXPECT_EQ(FailureNumberOf([&] { progress.ShowWritten(1, 2); }), failure::kInvalidArgument);
  progress.PassEnded();
}

TEST(Win32UserInterfaceTest, EndProgramClosesTheWindowAndExitsAtOnce) {
  ScratchFolder scratch;
  const std::wstring trace = scratch.Path() + L"trace";
  std::wstring line =
      Quoted(ProgramFolder() + L"velbor_end_program_helper.exe") + L" " + Quoted(trace);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started));
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
  ASSERT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  ASSERT_TRUE(GetExitCodeProcess(process.Get(), &exitCode));
  EXPECT_EQ(exitCode, 0u);
  const auto bytes = ReadWholeFile(trace);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "window destroyed\n");
}

}  // namespace
}  // namespace velbor::testing
