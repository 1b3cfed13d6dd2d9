#include "host/win32/dialog_template.h"

namespace velbor {
namespace {

// Offset of the item count in the DLGTEMPLATE record, in words.
constexpr std::size_t kItemCountWord = 4;

}  // namespace

DialogTemplate::DialogTemplate(DWORD style, DialogRect rect, std::wstring_view caption,
                               WORD fontPointSize, std::wstring_view fontName) {
  AppendDword(style | DS_SETFONT);
  AppendDword(0);  // extended style
  AppendWord(0);   // item count, raised by AddItem
  AppendRect(rect);
  AppendWord(0);  // no menu
  AppendWord(0);  // the predefined dialog class
  AppendString(caption);
  AppendWord(fontPointSize);
  AppendString(fontName);
}

void DialogTemplate::AddItem(DWORD style, DialogRect rect, WORD id, WORD classAtom,
                             std::wstring_view text) {
  AlignToDword();
  AppendDword(style);
  AppendDword(0);  // extended style
  AppendRect(rect);
  AppendWord(id);
  AppendWord(0xFFFF);  // the class follows as an atom
  AppendWord(classAtom);
  AppendString(text);
  AppendWord(0);  // no creation data
  ++words_[kItemCountWord];
}

const DLGTEMPLATE* DialogTemplate::Get() const {
  return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
}

void DialogTemplate::AppendWord(WORD word) { words_.push_back(word); }

void DialogTemplate::AppendDword(DWORD dword) {
  AppendWord(LOWORD(dword));
  AppendWord(HIWORD(dword));
}

void DialogTemplate::AppendRect(DialogRect rect) {
  for (short value : {rect.x, rect.y, rect.width, rect.height}) {
    AppendWord(static_cast<WORD>(value));
  }
}

void DialogTemplate::AppendString(std::wstring_view text) {
  // A NUL inside would end the string early and make the rest read as the
  // template's next fields, so the string ends at the first one, as shown text would.
  for (wchar_t unit : text.substr(0, text.find(L'\0'))) AppendWord(static_cast<WORD>(unit));
  AppendWord(0);
}

void DialogTemplate::AlignToDword() {
  if (words_.size() % 2 != 0) AppendWord(0);
}

}  // namespace velbor
