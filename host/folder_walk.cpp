#include "host/folder_walk.h"

#include <cstddef>
#include <optional>

#include "host/failure.h"

namespace velbor {
namespace {

constexpr TextView kLongPrefix = u"\\\\?\\";
constexpr TextView kLongSharePrefix = u"\\\\?\\UNC\\";

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// The length of the volume's root at the path's start, with its last "\": "C:\"
// or "\\server\share\"; nothing for any other form (relative, a device, "\\?\").
std::optional<std::size_t> RootLength(TextView path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && path[2] == u'\\') return 3;
  if (!path.starts_with(u"\\\\") || path.starts_with(kLongPrefix) || path.starts_with(u"\\\\.\\")) {
    return std::nullopt;
  }
  const std::size_t serverEnd = path.find(u'\\', 2);
  if (serverEnd == TextView::npos || serverEnd == 2) return std::nullopt;
  const std::size_t shareEnd = path.find(u'\\', serverEnd + 1);
  if (shareEnd == TextView::npos || shareEnd == serverEnd + 1) return std::nullopt;
  return shareEnd + 1;
}

// Whether `part` names one entry of its folder by itself.
bool IsPlainName(TextView part) {
  return !part.empty() && part != u"." && part != u".." && part.find(u':') == TextView::npos;
}

}  // namespace

void OpenFoldersOf(TextView fullPath, FolderOpener& opener) {
  const std::optional<std::size_t> root = RootLength(fullPath);
  if (!root) throw HostFailure(failure::kBadFileName);
  // Every part is checked before anything is opened.
  for (std::size_t at = *root;;) {
    const std::size_t end = fullPath.find(u'\\', at);
    if (!IsPlainName(fullPath.substr(at, end - at))) throw HostFailure(failure::kBadFileName);
    if (end == TextView::npos) break;
    at = end + 1;
  }
  if (opener.OpensALink(Text(fullPath.substr(0, *root)))) {
    throw HostFailure(failure::kPermissionDenied);
  }
  for (std::size_t end = fullPath.find(u'\\', *root); end != TextView::npos;
       end = fullPath.find(u'\\', end + 1)) {
    if (opener.OpensALink(Text(fullPath.substr(0, end)))) {
      throw HostFailure(failure::kPermissionDenied);
    }
  }
}

Text WithoutLongPathPrefix(TextView finalPath) {
  if (finalPath.starts_with(kLongSharePrefix)) {
    return u"\\\\" + Text(finalPath.substr(kLongSharePrefix.size()));
  }
  if (finalPath.starts_with(kLongPrefix)) return Text(finalPath.substr(kLongPrefix.size()));
  return Text(finalPath);
}

}  // namespace velbor
