#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "host/resources.h"
#include "host/text.h"

namespace velbor::testing {

struct FileAttributes {
  bool readOnly = false;
  bool hidden = false;
  bool system = false;
};

// Files and folders in memory, behaving as the Windows file system does for the
// program's operations: paths start with a drive ("C:\"), at the current drive's
// root ("\") or in the current folder; "\" and "/" both separate; names are found
// without regard to letter case and keep the case they were made with; a file
// can be made only in an existing folder. Only drive C: exists at first, and it
// is the current folder. UNC paths and the trimming of trailing dots and blanks
// are not modelled.
class MemoryFileSystem {
 public:
  MemoryFileSystem();

  // Arranging and checking behind the program's back. A path that does not fit
  // (a file where a folder should be, a missing folder, a bad name) is a mistake
  // of the test and throws std::logic_error.
  void MakeFolder(const Text& path);  // with any missing folders above it
  void PutFile(const Text& path, std::vector<std::uint8_t> bytes, FileAttributes attributes = {});
  std::optional<std::vector<std::uint8_t>> ReadFile(const Text& path) const;
  // A file held open, without sharing, by another program until released.
  void HoldOpen(const Text& path);
  void Release(const Text& path);
  // The names of a folder's entries, in the order of their folded names.
  std::vector<Text> List(const Text& folder) const;
  void SetCurrentFolder(const Text& folder);

  // The program's operations, with the FileSystem interface's meaning.
  Text FindFileName(const Text& path) const;
  void DeleteFile(const Text& path);
  void WriteWholeFile(const Text& path, ByteView bytes);

 private:
  struct Entry {
    Text name;
    Text parentKey;
    bool isFolder = false;
    std::vector<std::uint8_t> bytes;
    FileAttributes attributes;
    bool heldOpen = false;
  };

  struct SplitPath {
    std::vector<Text> parts;  // the drive first
    bool endsWithSeparator = false;
  };

  // Where a path that names a file or folder below a drive points.
  struct Location {
    Text key;
    Text parentKey;
    Text name;
  };

  std::optional<SplitPath> Split(const Text& path) const;
  std::optional<Location> Locate(const Text& path) const;
  bool IsFolder(const Text& key) const;
  Entry& ExistingFile(const Text& path);

  std::map<Text, Entry> entries_;  // by folded full path
  std::vector<Text> currentFolder_;
};

}  // namespace velbor::testing
