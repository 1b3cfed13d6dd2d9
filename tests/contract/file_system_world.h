#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "host/file_system.h"
#include "host/text.h"

namespace velbor::testing {

// A file system under test together with the means to arrange and inspect it
// behind its back. The same contract cases run against the scripted double
// natively and against the real Win32 file system under Wine, so that the two
// cannot drift apart.
class FileSystemWorld {
 public:
  struct Attributes {
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
  };

  virtual ~FileSystemWorld() = default;

  virtual FileSystem& Files() = 0;

  // An existing, empty folder of this test's own, as a path ending with "\".
  virtual Text Folder() = 0;

  virtual void MakeFolder(const Text& path) = 0;
  virtual void PutFile(const Text& path, const std::vector<std::uint8_t>& bytes,
                       Attributes attributes) = 0;

  // The file's bytes, or nothing when there is no file at the path.
  virtual std::optional<std::vector<std::uint8_t>> ReadFile(const Text& path) = 0;

  // Keeps the file open without sharing, as a program using it would, until
  // Release is called for it.
  virtual void HoldOpen(const Text& path) = 0;
  virtual void Release(const Text& path) = 0;

  // The names of the entries of a folder, in any order.
  virtual std::vector<Text> List(const Text& folder) = 0;
};

// Each platform's test program defines this for the file system it tests.
std::unique_ptr<FileSystemWorld> MakeFileSystemWorld();

}  // namespace velbor::testing
