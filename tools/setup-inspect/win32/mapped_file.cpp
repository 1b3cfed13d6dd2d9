#include "tools/setup-inspect/mapped_file.h"

#include <limits>
#include <string>

#include "host/win32/unique_handle.h"

namespace velbor {
namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, const char* what) {
  const std::u8string name = path.u8string();
  throw UnopenableFile(std::string(name.begin(), name.end()) + ": " + what + " (Windows error " +
                       std::to_string(GetLastError()) + ")");
}

}  // namespace

bool MappedFile::ViewTraits::Close(Handle view) noexcept {
  return UnmapViewOfFile(view.data) != FALSE;
}

MappedFile::MappedFile(const std::filesystem::path& path) {
  // Shared for reading only, so that nobody cuts the file short while it is mapped.
  const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) Fail(path, "cannot open it");
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) Fail(path, "not a regular file");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) Fail(path, "cannot examine it");
  if (size.QuadPart == 0) return;
  if (static_cast<std::uint64_t>(size.QuadPart) > std::numeric_limits<std::size_t>::max()) {
    Fail(path, "too large to map");
  }
  const UniqueKernelHandle mapping(
      CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.IsValid()) Fail(path, "cannot map it");
  const void* view = MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0);
  if (view == nullptr) Fail(path, "cannot map it");
  view_ = UniqueHandle<ViewTraits>(
      {static_cast<const std::uint8_t*>(view), static_cast<std::size_t>(size.QuadPart)});
}

}  // namespace velbor
