#include "host/win32/win32_file_system.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "host/failure.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"
#include "host/win32/windows_api.h"

namespace velbor {
namespace {

// Large enough that a big payload takes few calls, small enough for any device.
constexpr DWORD kLargestWrite = 4 * 1024 * 1024;
constexpr std::uint64_t kTemporaryNameAttempts = 100;

// "*" and "?" are the Win32 wildcards; "<", ">" and '"' are the native ones that
// FindFirstFileExW would pass on. None can be part of a file's name.
bool HoldsWildcard(TextView path) { return path.find_first_of(u"*?<>\"") != TextView::npos; }

bool CountsAsFile(const WIN32_FIND_DATAW& entry) {
  constexpr DWORD kExcluded =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (entry.dwFileAttributes & kExcluded) == 0;
}

// The folder part of a path with its separator ("C:\dir\", "C:" or "" for a
// bare name), so that a name appended to it lies beside the path's file.
std::wstring FolderPrefix(const std::wstring& path) {
  const std::size_t end = path.find_last_of(L"\\/:");
  return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

// A file of our own, created anew (never an existing one opened) in a folder,
// and deleted again when it goes unless it has been moved to its target. The
// name only needs to be unlikely to be taken; CREATE_NEW makes sure.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::wstring& folder) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    const auto seed = static_cast<std::uint64_t>(counter.QuadPart) ^ GetCurrentProcessId();
    for (std::uint64_t attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      path_ = folder + L"~velbor" + std::to_wstring(seed + attempt) + L".tmp";
      handle_ = UniqueFileHandle(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
      if (handle_.IsValid()) return;
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
        throw FailureFromWin32Error(error);
      }
    }
    throw HostFailure(failure::kPathFileAccess);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (moved_) return;
    handle_.Close();
    DeleteFileW(path_.c_str());
  }

  HANDLE Handle() const { return handle_.Get(); }

  // Closes the file without forcing its data to the disk: like a copy, the new
  // file is as durable as the system's cache makes it, at the speed of a copy.
  // What the temporary file guards against is a failed write, not a power cut.
  void Close() {
    if (!handle_.Close()) throw FailureFromLastError();
  }

  // A rename within one folder, so never a copy across volumes.
  void MoveOver(const std::wstring& target) {
    if (!MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      throw FailureFromLastError();
    }
    moved_ = true;
  }

 private:
  std::wstring path_;
  UniqueFileHandle handle_;
  bool moved_ = false;
};

// Windows refuses to replace a read-only file or a folder, but Wine's MoveFileExW
// replaces a read-only file; refusing here keeps the file on both, and before
// a large payload has been written for nothing.
void RefuseReadOnlyTarget(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    throw FailureFromWin32Error(ERROR_ACCESS_DENIED);
  }
}

void WriteAll(HANDLE file, ByteView bytes) {
  while (!bytes.empty()) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kLargestWrite));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) throw FailureFromLastError();
    // A write that reports success but takes nothing would never finish.
    if (written == 0) throw HostFailure(failure::kPathFileAccess);
    bytes = bytes.subspan(written);
  }
}

}  // namespace

Text Win32FileSystem::FindFileName(const Text& path) {
  if (path.empty() || HoldsWildcard(path) || path.find(u'\0') != Text::npos) return Text();
  const std::wstring widePath = WideFromText(path);
  WIN32_FIND_DATAW entry;
  UniqueFindHandle search(FindFirstFileExW(widePath.c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0));
  if (!search.IsValid()) return Text();
  do {
    if (CountsAsFile(entry)) return TextFromWide(entry.cFileName);
  } while (FindNextFileW(search.Get(), &entry));
  return Text();
}

void Win32FileSystem::DeleteFile(const Text& path) {
  if (!DeleteFileW(WideNameFromText(path).c_str())) throw FailureFromLastError();
}

void Win32FileSystem::WriteWholeFile(const Text& path, ByteView bytes) {
  const std::wstring target = WideNameFromText(path);
  RefuseReadOnlyTarget(target);
  TemporaryFile temporary(FolderPrefix(target));
  WriteAll(temporary.Handle(), bytes);
  temporary.Close();
  temporary.MoveOver(target);
}

}  // namespace velbor
