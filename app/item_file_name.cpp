#include "app/item_file_name.h"

#include <array>
#include <cstddef>

namespace velbor {
namespace {

constexpr TextView kSeparators = u"/\\";
// Besides the separators: never part of a file name, the wildcards included.
constexpr TextView kForbidden = u":*?\"<>|";

// Windows opens the device for these names whatever their extension: it cuts the
// name at its first dot and drops the blanks that end what is left ("NUL .txt").
bool IsDeviceName(TextView piece) {
  TextView stem = piece.substr(0, piece.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  static constexpr std::array<TextView, 4> kDevices = {u"CON", u"PRN", u"AUX", u"NUL"};
  for (const TextView device : kDevices) {
    if (EqualIgnoringAsciiCase(stem, device)) return true;
  }
  const bool numbered = EqualIgnoringAsciiCase(stem.substr(0, 3), u"COM") ||
                        EqualIgnoringAsciiCase(stem.substr(0, 3), u"LPT");
  // The superscript digits count too.
  constexpr TextView kDigits = u"123456789\u00B9\u00B2\u00B3";
  return numbered && stem.size() == 4 && kDigits.find(stem[3]) != TextView::npos;
}

bool IsConfinedPiece(TextView piece) {
  if (piece.empty() || piece.back() == u'.' || piece.back() == u' ') return false;
  for (const char16_t character : piece) {
    if (character < 0x20 || kForbidden.find(character) != TextView::npos) return false;
  }
  return !IsDeviceName(piece);
}

}  // namespace

bool IsConfinedFileName(TextView name) {
  // An empty name is refused as its one empty piece; a leading separator (an
  // absolute or UNC path) leaves an empty first piece.
  while (true) {
    const std::size_t end = name.find_first_of(kSeparators);
    if (!IsConfinedPiece(name.substr(0, end))) return false;
    if (end == TextView::npos) return true;
    name.remove_prefix(end + 1);
  }
}

}  // namespace velbor
