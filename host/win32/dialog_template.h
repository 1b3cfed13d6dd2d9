#pragma once

#include <string_view>
#include <vector>

#include "host/win32/windows_api.h"

namespace velbor {

// Where a dialog or a control lies, in dialog units: they scale with the dialog's
// font and so with the screen's DPI.
struct DialogRect {
  short x = 0;
  short y = 0;
  short width = 0;
  short height = 0;
};

// Builds a DLGTEMPLATE with its items in memory, for DialogBoxIndirectParamW.
class DialogTemplate {
 public:
  // The dialog's own record; DS_SETFONT is added, with the font given here.
  DialogTemplate(DWORD style, DialogRect rect, std::wstring_view caption, WORD fontPointSize,
                 std::wstring_view fontName);

  // Adds a control of a predefined class, named by its atom (0x0080 button,
  // 0x0081 edit, 0x0082 static).
  void AddItem(DWORD style, DialogRect rect, WORD id, WORD classAtom, std::wstring_view text);

  // The template, valid until the next AddItem.
  const DLGTEMPLATE* Get() const;

 private:
  void AppendWord(WORD word);
  void AppendDword(DWORD dword);
  void AppendRect(DialogRect rect);
  void AppendString(std::wstring_view text);
  void AlignToDword();

  // The template's fields are words and double words; a vector's storage is
  // aligned for any type, which gives the double-word alignment it needs.
  std::vector<WORD> words_;
};

}  // namespace velbor
