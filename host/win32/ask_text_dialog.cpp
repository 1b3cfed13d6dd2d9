#include "host/win32/ask_text_dialog.h"

#include <string>

#include "host/win32/dialog_template.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"

namespace velbor {
namespace {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

constexpr WORD kFontPointSize = 8;
constexpr wchar_t kFontName[] = L"MS Shell Dlg";

// The classic input box: the prompt at the top left, OK and Cancel at the right,
// the field along the bottom.
constexpr DialogRect kDialogRect{0, 0, 245, 90};
constexpr DialogRect kPromptRect{7, 7, 176, 54};
constexpr DialogRect kOkRect{190, 7, 48, 14};
constexpr DialogRect kCancelRect{190, 25, 48, 14};
constexpr DialogRect kAnswerRect{7, 68, 231, 14};

DialogTemplate InputBoxTemplate(const Text& prompt, const Text& title, const Text& defaultText) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  DialogTemplate dialog(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, kDialogRect,
                        WideFromText(title), kFontPointSize, kFontName);
  // The prompt shows "&" as typed rather than as a mnemonic.
  dialog.AddItem(kChild | SS_LEFT | SS_NOPREFIX, kPromptRect, ask_text_control::kPrompt,
                 kStaticClass, WideFromText(prompt));
  dialog.AddItem(kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, kAnswerRect,
                 ask_text_control::kAnswer, kEditClass, WideFromText(defaultText));
  dialog.AddItem(kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, kOkRect, IDOK, kButtonClass, L"OK");
  dialog.AddItem(kChild | WS_TABSTOP | BS_PUSHBUTTON, kCancelRect, IDCANCEL, kButtonClass,
                 L"Cancel");
  return dialog;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

INT_PTR CALLBACK InputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      HWND answer = GetDlgItem(dialog, ask_text_control::kAnswer);
      SendMessageW(answer, EM_SETSEL, 0, -1);
      SetFocus(answer);
      return FALSE;  // the focus has been set here
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* typed = reinterpret_cast<std::wstring*>(GetWindowLongPtrW(dialog, DWLP_USER));
        *typed = WindowText(GetDlgItem(dialog, ask_text_control::kAnswer));
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      // Closing the box arrives as IDCANCEL too.
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

Text RunAskTextDialog(HWND owner, const Text& prompt, const Text& title, const Text& defaultText) {
  const DialogTemplate dialog = InputBoxTemplate(prompt, title, defaultText);
  std::wstring typed;
  const INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, InputBoxProcedure,
                              reinterpret_cast<LPARAM>(&typed));
  if (result == -1 || result == 0) throw FailureFromLastError();
  return result == IDOK ? TextFromWide(typed) : Text();
}

}  // namespace velbor
