#include <map>
#include <stdexcept>
#include <string>

#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_file_system.h"
#include "tests/contract/file_system_world.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

// The real file system, arranged through the Win32 API in a scratch folder.
class Win32FileSystemWorld final : public FileSystemWorld {
 public:
  FileSystem& Files() override { return files_; }

  Text Folder() override { return TextFromWide(scratch_.Path()); }

  void MakeFolder(const Text& path) override {
    if (!CreateDirectoryW(WideFromText(path).c_str(), nullptr)) {
      throw std::runtime_error("cannot make folder " + Utf8FromText(path));
    }
  }

  void PutFile(const Text& path, const std::vector<std::uint8_t>& bytes,
               Attributes attributes) override {
    const std::wstring widePath = WideFromText(path);
    {
      UniqueFileHandle file(CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
      DWORD written = 0;
      if (!file.IsValid() ||
          !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) ||
          written != bytes.size()) {
        throw std::runtime_error("cannot put file " + Utf8FromText(path));
      }
    }
    DWORD flags = 0;
    if (attributes.readOnly) flags |= FILE_ATTRIBUTE_READONLY;
    if (attributes.hidden) flags |= FILE_ATTRIBUTE_HIDDEN;
    if (attributes.system) flags |= FILE_ATTRIBUTE_SYSTEM;
    if (flags != 0 && !SetFileAttributesW(widePath.c_str(), flags)) {
      throw std::runtime_error("cannot set the attributes of " + Utf8FromText(path));
    }
  }

  std::optional<std::vector<std::uint8_t>> ReadFile(const Text& path) override {
    return ReadWholeFile(WideFromText(path));
  }

  void HoldOpen(const Text& path) override {
    UniqueFileHandle file(CreateFileW(WideFromText(path).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) throw std::runtime_error("cannot hold open " + Utf8FromText(path));
    held_[path] = std::move(file);
  }

  void Release(const Text& path) override { held_.erase(path); }

  std::vector<Text> List(const Text& folder) override {
    Text pattern = folder;
    if (!pattern.empty() && pattern.back() != u'\\') pattern += u'\\';
    pattern += u'*';
    std::vector<Text> names;
    WIN32_FIND_DATAW entry;
    UniqueFindHandle search(FindFirstFileW(WideFromText(pattern).c_str(), &entry));
    if (!search.IsValid()) return names;
    do {
      const Text name = TextFromWide(entry.cFileName);
      if (name != u"." && name != u"..") names.push_back(name);
    } while (FindNextFileW(search.Get(), &entry));
    return names;
  }

 private:
  // Declared first so that it goes last, after the held handles are closed.
  ScratchFolder scratch_;
  Win32FileSystem files_;
  std::map<Text, UniqueFileHandle> held_;
};

}  // namespace

std::unique_ptr<FileSystemWorld> MakeFileSystemWorld() {
  return std::make_unique<Win32FileSystemWorld>();
}

}  // namespace velbor::testing
