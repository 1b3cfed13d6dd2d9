#include "tests/doubles/memory_file_system.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "host/failure.h"
#include "tests/doubles/case_folding.h"

namespace velbor::testing {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDrive(const Text& part) {
  return part.size() == 2 && part[1] == u':' &&
         ((part[0] >= u'A' && part[0] <= u'Z') || (part[0] >= u'a' && part[0] <= u'z'));
}

// Windows refuses these in names; "*" and "?" are the wildcards, which match
// nothing here because no name can hold them.
bool IsValidName(const Text& name) {
  for (char16_t c : name) {
    if (c < 0x20 || TextView(u"<>:\"|?*").find(c) != TextView::npos) return false;
  }
  return true;
}

Text KeyOf(const std::vector<Text>& parts, std::size_t count) {
  Text path;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) path += u'\\';
    path += parts[i];
  }
  return FoldCase(path);
}

std::logic_error Mistake(const char* what, const Text& path) {
  return std::logic_error(std::string(what) + ": " + Utf8FromText(path));
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() : currentFolder_{u"C:"} { MakeFolder(u"C:\\"); }

std::optional<MemoryFileSystem::SplitPath> MemoryFileSystem::Split(const Text& path) const {
  if (path.empty()) return std::nullopt;
  std::vector<Text> pieces(1);
  for (char16_t c : path) {
    if (IsSeparator(c)) {
      pieces.emplace_back();
    } else {
      pieces.back() += c;
    }
  }
  SplitPath split;
  std::size_t first = 0;
  if (IsDrive(pieces[0])) {
    split.parts = {pieces[0]};
    first = 1;
  } else if (pieces[0].empty()) {
    split.parts = {currentFolder_.front()};
    first = 1;
  } else {
    split.parts = currentFolder_;
  }
  for (std::size_t i = first; i < pieces.size(); ++i) {
    const Text& piece = pieces[i];
    if (piece.empty()) {
      split.endsWithSeparator = i + 1 == pieces.size();
    } else if (piece == u"..") {
      if (split.parts.size() > 1) split.parts.pop_back();
    } else if (piece != u".") {
      if (!IsValidName(piece)) return std::nullopt;
      split.parts.push_back(piece);
    }
  }
  return split;
}

std::optional<MemoryFileSystem::Location> MemoryFileSystem::Locate(const Text& path) const {
  const std::optional<SplitPath> split = Split(path);
  if (!split || split->endsWithSeparator || split->parts.size() < 2) return std::nullopt;
  const std::vector<Text>& parts = split->parts;
  return Location{KeyOf(parts, parts.size()), KeyOf(parts, parts.size() - 1), parts.back()};
}

bool MemoryFileSystem::IsFolder(const Text& key) const {
  const auto entry = entries_.find(key);
  return entry != entries_.end() && entry->second.isFolder;
}

MemoryFileSystem::Entry& MemoryFileSystem::ExistingFile(const Text& path) {
  const std::optional<Location> location = Locate(path);
  const auto entry = location ? entries_.find(location->key) : entries_.end();
  if (entry == entries_.end() || entry->second.isFolder) throw Mistake("no such file", path);
  return entry->second;
}

void MemoryFileSystem::MakeFolder(const Text& path) {
  const std::optional<SplitPath> split = Split(path);
  if (!split) throw Mistake("bad folder path", path);
  for (std::size_t count = 1; count <= split->parts.size(); ++count) {
    const Text key = KeyOf(split->parts, count);
    const auto [entry, made] = entries_.try_emplace(key);
    if (made) {
      entry->second.name = split->parts[count - 1];
      entry->second.parentKey = KeyOf(split->parts, count - 1);
      entry->second.isFolder = true;
    } else if (!entry->second.isFolder) {
      throw Mistake("a file stands where a folder should be", path);
    }
  }
}

void MemoryFileSystem::PutFile(const Text& path, std::vector<std::uint8_t> bytes,
                               FileAttributes attributes) {
  const std::optional<Location> location = Locate(path);
  if (!location || !IsFolder(location->parentKey)) throw Mistake("no folder for file", path);
  if (IsFolder(location->key)) throw Mistake("a folder stands where the file should be", path);
  entries_[location->key] = {location->name,   location->parentKey, false,
                             std::move(bytes), attributes,          false};
}

std::optional<std::vector<std::uint8_t>> MemoryFileSystem::ReadFile(const Text& path) const {
  const std::optional<Location> location = Locate(path);
  if (!location) return std::nullopt;
  const auto entry = entries_.find(location->key);
  if (entry == entries_.end() || entry->second.isFolder) return std::nullopt;
  return entry->second.bytes;
}

void MemoryFileSystem::HoldOpen(const Text& path) { ExistingFile(path).heldOpen = true; }

void MemoryFileSystem::Release(const Text& path) { ExistingFile(path).heldOpen = false; }

std::vector<Text> MemoryFileSystem::List(const Text& folder) const {
  const std::optional<SplitPath> split = Split(folder);
  if (!split) throw Mistake("bad folder path", folder);
  const Text key = KeyOf(split->parts, split->parts.size());
  if (!IsFolder(key)) throw Mistake("no such folder", folder);
  std::vector<Text> names;
  for (const auto& [entryKey, entry] : entries_) {
    if (entry.parentKey == key) names.push_back(entry.name);
  }
  return names;
}

void MemoryFileSystem::SetCurrentFolder(const Text& folder) {
  std::optional<SplitPath> split = Split(folder);
  if (!split || !IsFolder(KeyOf(split->parts, split->parts.size()))) {
    throw Mistake("no such folder", folder);
  }
  currentFolder_ = std::move(split->parts);
}

Text MemoryFileSystem::FindFileName(const Text& path) const {
  const std::optional<Location> location = Locate(path);
  if (!location) return {};
  const auto entry = entries_.find(location->key);
  if (entry == entries_.end()) return {};
  const Entry& found = entry->second;
  if (found.isFolder || found.attributes.hidden || found.attributes.system) return {};
  return found.name;
}

void MemoryFileSystem::DeleteFile(const Text& path) {
  const std::optional<Location> location = Locate(path);
  if (!location) throw HostFailure(failure::kBadFileName);
  if (!IsFolder(location->parentKey)) throw HostFailure(failure::kPathNotFound);
  const auto entry = entries_.find(location->key);
  if (entry == entries_.end()) throw HostFailure(failure::kFileNotFound);
  const Entry& found = entry->second;
  if (found.heldOpen) throw HostFailure::InUse();
  if (found.isFolder || found.attributes.readOnly) throw HostFailure(failure::kPermissionDenied);
  entries_.erase(entry);
}

void MemoryFileSystem::WriteWholeFile(const Text& path, ByteView bytes) {
  const std::optional<Location> location = Locate(path);
  if (!location) throw HostFailure(failure::kBadFileName);
  if (!IsFolder(location->parentKey)) throw HostFailure(failure::kPathNotFound);
  const auto entry = entries_.find(location->key);
  if (entry == entries_.end()) {
    entries_[location->key] = {
        location->name, location->parentKey, false, {bytes.begin(), bytes.end()}, {}, false};
    return;
  }
  Entry& found = entry->second;
  if (found.heldOpen) throw HostFailure::InUse();
  if (found.isFolder || found.attributes.readOnly) throw HostFailure(failure::kPermissionDenied);
  // A file that is replaced keeps its name and attributes, as when Windows
  // overwrites it in place.
  found.bytes.assign(bytes.begin(), bytes.end());
}

}  // namespace velbor::testing
