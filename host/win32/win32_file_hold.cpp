#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/failure.h"
#include "host/win32/image_bytes.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"
#include "host/win32/win32_file_hold.h"
#include "host/win32/win32_file_system.h"
#include "host/win32/windows_api.h"
#include "package/content_checksum.h"

namespace velbor {
namespace {

// Whether the held file's size and checksum are those of `expected`, an item
// stored together with others: its content is not decoded a second time.
bool HoldsStreamItem(HANDLE file, const ContentPlace& expected) {
  std::vector<std::uint8_t> chunk(kPieceSize);
  ContentChecksum checksum;
  std::uint64_t size = 0;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr)) {
      throw FailureFromLastError();
    }
    if (read == 0) break;
    checksum.Add(ByteView(chunk.data(), read));
    size += read;
  }
  return size == expected.size && checksum.Value() == expected.checksum;
}

// Whether the held file holds exactly `expected`'s content and nothing after it.
bool HoldsExactly(HANDLE file, const ImageFile* image, const StoredBytes& expected) {
  if (expected.storage == Storage::kInStream) return HoldsStreamItem(file, expected.place);
  std::vector<std::uint8_t> chunk(kPieceSize);
  bool same = true;
  const auto readInto = [&](std::size_t size) {
    DWORD read = 0;
    if (!ReadFile(file, chunk.data(), static_cast<DWORD>(size), &read, nullptr)) {
      throw FailureFromLastError();
    }
    return static_cast<std::size_t>(read);
  };
  ReadItemContent(image, expected, kPieceSize, [&](ByteView piece) {
    while (same && !piece.empty()) {
      const std::size_t read = readInto(std::min<std::size_t>(piece.size(), kPieceSize));
      same =
          read > 0 && std::equal(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(read),
                                 piece.begin());
      piece = piece.subspan(read);
    }
  });
  return same && readInto(1) == 0;
}

}  // namespace

SharedFileHold Win32FileSystem::HoldFile(const Text& path, const StoredBytes& expected) {
  if (path.find(u'\0') != Text::npos) throw HostFailure(failure::kBadFileName);
  // A link would be held at its target while its own entry could still be
  // replaced, so the entry itself is opened and must be a plain file.
  UniqueFileHandle file(
      CreateFileW(WideFromText(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.IsValid()) throw FailureFromLastError();
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file.Get(), &information)) throw FailureFromLastError();
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
      !HoldsExactly(file.Get(), image_, expected)) {
    // Someone else's file took the written one's place before it was held.
    throw HostFailure(failure::kPathFileAccess);
  }
  return std::make_shared<const Win32FileHold>(std::move(file));
}

}  // namespace velbor
