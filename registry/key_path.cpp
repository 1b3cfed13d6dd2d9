#include "registry/key_path.h"

#include <algorithm>
#include <array>
#include <utility>

namespace velbor {
namespace {

TextView TrimSpaces(TextView text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == TextView::npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

constexpr std::array<std::pair<TextView, RegKey>, 7> kRoots{{
    {u"HKEY_CLASSES_ROOT", reg::kClassesRoot},
    {u"HKEY_CURRENT_USER", reg::kCurrentUser},
    {u"HKEY_LOCAL_MACHINE", reg::kLocalMachine},
    {u"HKEY_USERS", reg::kUsers},
    {u"HKEY_PERFORMANCE_DATA", reg::kPerformanceData},
    {u"HKEY_CURRENT_CONFIG", reg::kCurrentConfig},
    {u"HKEY_DYN_DATA", reg::kDynData},
}};

}  // namespace

std::optional<std::vector<Text>> SplitKeyPath(TextView keyPath) {
  std::vector<Text> parts;
  TextView rest = keyPath;
  while (true) {
    const std::size_t separator = rest.find(u'\\');
    const TextView piece = TrimSpaces(rest.substr(0, separator));
    if (!piece.empty()) {
      if (parts.size() == kMaxKeyPathParts) return std::nullopt;
      parts.emplace_back(piece);
    }
    if (separator == TextView::npos) return parts;
    rest.remove_prefix(separator + 1);
  }
}

std::optional<RegKey> PredefinedRoot(TextView rootName) {
  for (const auto& [name, key] : kRoots) {
    if (EqualIgnoringAsciiCase(rootName, name)) return key;
  }
  return std::nullopt;
}

Text JoinKeyPath(const std::vector<Text>& parts, std::size_t count) {
  Text path;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) path += u'\\';
    path += parts[i];
  }
  return path;
}

}  // namespace velbor
