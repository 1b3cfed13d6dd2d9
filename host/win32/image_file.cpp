#include "host/win32/image_file.h"

#include <algorithm>
#include <limits>
#include <string>

#include "host/win32/system_function.h"
#include "host/win32/win32_failure.h"

namespace velbor {
namespace {

// Long enough for any path the system gives a module.
constexpr DWORD kLongestPath = 32768;

std::optional<std::wstring> ModulePath(HMODULE module) {
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = GetModuleFileNameW(module, path.data(), size);
    if (length == 0) return std::nullopt;
    if (length < size) {
      path.resize(length);
      return path;
    }
    if (size >= kLongestPath) return std::nullopt;
  }
}

// Whether `file` is the very file that `module` was mapped from: the system compares
// the file behind the image with the one behind a view of `file`, whatever their
// names now are.
bool IsFileOfImage(HANDLE file, HMODULE module) {
  using AreMappedFilesTheSameFunction = LONG NTAPI(PVOID, PVOID);
  auto* areTheSame =
      SystemFunction<AreMappedFilesTheSameFunction>(L"ntdll.dll", "NtAreMappedFilesTheSame");
  if (areTheSame == nullptr) return false;
  UniqueKernelHandle mapping(CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.IsValid()) return false;
  const UniqueMappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 1));
  if (!view.IsValid()) return false;
  constexpr LONG kSuccess = 0;
  return areTheSame(module, view.Get()) == kSuccess;
}

}  // namespace

std::optional<ImageFile> ImageFile::Prove(HMODULE module) {
  const auto path = ModulePath(module);
  const auto resources = ResourcesInFile(module);
  if (!path || !resources) return std::nullopt;
  // Shared for reading only: from here on nobody can write, rename or delete it.
  UniqueFileHandle file(CreateFileW(path->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.IsValid() || !IsFileOfImage(file.Get(), module)) return std::nullopt;
  return ImageFile(std::move(file), *resources);
}

// Found through the image's own headers, as the loader mapped them.
std::optional<ImageFile::FileBackedRange> ImageFile::ResourcesInFile(HMODULE module) {
  const auto* base = reinterpret_cast<const std::uint8_t*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& resources =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
  const DWORD rva = resources.VirtualAddress;
  if (rva == 0 || resources.Size == 0) return std::nullopt;
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD index = 0; index < nt->FileHeader.NumberOfSections; ++index, ++section) {
    // Bytes past a section's raw data are zeros in memory that the file lacks.
    const DWORD inFile = std::min(section->Misc.VirtualSize, section->SizeOfRawData);
    if (rva < section->VirtualAddress || rva - section->VirtualAddress >= inFile) continue;
    const DWORD into = rva - section->VirtualAddress;
    return FileBackedRange{reinterpret_cast<std::uintptr_t>(base) + rva,
                           std::uint64_t{section->PointerToRawData} + into,
                           std::min<std::uint64_t>(resources.Size, inFile - into)};
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ImageFile::FileOffsetOf(ByteView bytes) const {
  const auto address = reinterpret_cast<std::uintptr_t>(bytes.data());
  if (bytes.empty() || address < resources_.address) return std::nullopt;
  const std::uint64_t into = address - resources_.address;
  if (into > resources_.size || bytes.size() > resources_.size - into) return std::nullopt;
  return resources_.offset + into;
}

void ImageFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) const {
  while (!into.empty()) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const auto wanted =
        static_cast<DWORD>(std::min<std::size_t>(into.size(), std::numeric_limits<DWORD>::max()));
    DWORD read = 0;
    if (!ReadFile(file_.Get(), into.data(), wanted, &read, &at)) throw FailureFromLastError();
    // A held file never shrinks; an end before the bytes would be a broken image.
    if (read == 0) throw FailureFromWin32Error(ERROR_HANDLE_EOF);
    into = into.subspan(read);
    offset += read;
  }
}

}  // namespace velbor
