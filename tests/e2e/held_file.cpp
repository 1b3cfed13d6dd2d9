#include "tests/e2e/held_file.h"

#include <stdexcept>

namespace velbor::testing {

HeldFile::HeldFile(const std::wstring& path, const std::vector<std::uint8_t>& content)
    : file_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
  DWORD written = 0;
  if (!file_.IsValid() ||
      !WriteFile(file_.Get(), content.data(), static_cast<DWORD>(content.size()), &written,
                 nullptr) ||
      written != content.size()) {
    throw std::runtime_error("cannot make the held file");
  }
}

std::vector<std::uint8_t> HeldFile::Content() const {
  std::vector<std::uint8_t> content(4096);
  DWORD read = 0;
  SetFilePointer(file_.Get(), 0, nullptr, FILE_BEGIN);
  if (!ReadFile(file_.Get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) {
    read = 0;
  }
  content.resize(read);
  return content;
}

}  // namespace velbor::testing
