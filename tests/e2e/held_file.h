#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/win32/unique_handle.h"

namespace velbor::testing {

// Makes the file with `content` and keeps it open without sharing, as a program
// that uses it would; let go when this goes.
class HeldFile {
 public:
  HeldFile(const std::wstring& path, const std::vector<std::uint8_t>& content);

  // What the file holds, read through the hold: nobody else can open it.
  std::vector<std::uint8_t> Content() const;

  void LetGo() { file_.Close(); }

 private:
  UniqueFileHandle file_;
};

}  // namespace velbor::testing
