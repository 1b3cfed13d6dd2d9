#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/text.h"

namespace velbor::testing {

// The folder of the running test program, ending with "\": the helper programs
// are built beside it.
std::wstring ProgramFolder();

// A drive letter that names no drive here, with its ":\".
Text MissingDrive();

// `text` between double quotes, as a command line gives a path with blanks.
std::wstring Quoted(const std::wstring& text);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path);

// Waits until `path` can be read or `timeout` has passed.
std::optional<std::vector<std::uint8_t>> WaitForFile(const std::wstring& path,
                                                     std::chrono::milliseconds timeout);

// A fresh, empty folder of its own under the temporary folder, removed with all
// it holds when it goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  // The folder's path, ending with "\".
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace velbor::testing
