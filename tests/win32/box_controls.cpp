#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

constexpr UINT kAnswerMilliseconds = 5000;
// The id that MessageBoxW gives the static control of its message.
constexpr int kMessageControlId = 0xFFFF;

struct ChildSearch {
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectIfOfClass(HWND child, LPARAM search) {
  auto* wanted = reinterpret_cast<ChildSearch*>(search);
  if (IsOfClass(child, wanted->className)) wanted->found.push_back(child);
  return TRUE;
}

std::vector<HWND> ChildrenOfClass(HWND box, const wchar_t* className) {
  ChildSearch search{className, {}};
  EnumChildWindows(box, CollectIfOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

bool IsOfClass(HWND window, const wchar_t* name) {
  wchar_t className[32];
  return GetClassNameW(window, className, 32) != 0 && _wcsicmp(className, name) == 0;
}

std::wstring AskedText(HWND control) {
  DWORD_PTR length = 0;
  if (control == nullptr || !SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                                                 kAnswerMilliseconds, &length)) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kAnswerMilliseconds, &copied)) {
    return {};
  }
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::wstring MessageText(HWND box) { return AskedText(GetDlgItem(box, kMessageControlId)); }

std::vector<std::wstring> StaticTexts(HWND box) {
  std::vector<std::wstring> texts;
  for (HWND control : ChildrenOfClass(box, L"Static")) texts.push_back(AskedText(control));
  return texts;
}

HWND EditControlOf(HWND box) {
  const std::vector<HWND> edits = ChildrenOfClass(box, L"Edit");
  return edits.empty() ? nullptr : edits.front();
}

bool Type(HWND edit, const std::wstring& text) {
  DWORD_PTR taken = 0;
  return edit != nullptr &&
         SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, kAnswerMilliseconds, &taken) &&
         taken == TRUE;
}

}  // namespace velbor::testing
