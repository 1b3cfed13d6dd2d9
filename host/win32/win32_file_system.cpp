#include "host/win32/win32_file_system.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/failure.h"
#include "host/progress_interval.h"
#include "host/win32/background_flush.h"
#include "host/win32/full_path.h"
#include "host/win32/image_bytes.h"
#include "host/win32/stream_decoding.h"
#include "host/win32/task_thread.h"
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

constexpr wchar_t kTemporaryPrefix[] = L"~velbor";
constexpr wchar_t kTemporarySuffix[] = L".tmp";

// Whether `name` is one that TemporaryFile gives: the prefix, digits, the suffix.
bool IsTemporaryName(std::wstring_view name) {
  const std::wstring_view prefix = kTemporaryPrefix;
  const std::wstring_view suffix = kTemporarySuffix;
  if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
      !name.ends_with(suffix)) {
    return false;
  }
  const std::wstring_view digits =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  return digits.find_first_not_of(L"0123456789") == std::wstring_view::npos;
}

// Removes the temporary files that an earlier run left in `folder` where the system
// could not remove them itself (killed between the last write and the rename). Only
// plain files of our own name pattern; one in use stays.
void RemoveLeftTemporaryFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const std::wstring pattern = folder + kTemporaryPrefix + L"*" + kTemporarySuffix;
  UniqueFindHandle search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0));
  if (!search.IsValid()) return;
  constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  do {
    if ((entry.dwFileAttributes & kNotPlain) == 0 && IsTemporaryName(entry.cFileName)) {
      DeleteFileW((folder + entry.cFileName).c_str());
    }
  } while (FindNextFileW(search.Get(), &entry));
}

// Whether another program holds `path` open without letting it be deleted: an
// open for deletion alone, which asks nothing of the file's data or attributes,
// then meets a sharing violation.
bool IsHeldOpen(const std::wstring& path) {
  const UniqueFileHandle probe(CreateFileW(
      path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return !probe.IsValid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

// A file of our own, created anew (never an existing one opened) in a folder, that
// nobody else can open while we hold it. It is marked for deletion from the start, so
// that the system removes it however the process ends, until it is renamed over its
// target through its own handle: no other process can open or replace it between the
// write and the rename. The name only needs to be unlikely to be taken; CREATE_NEW
// makes sure. It is opened for overlapped I/O so that it can be flushed while it is
// written (BackgroundFlush).
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::wstring& folder) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    const auto seed = static_cast<std::uint64_t>(counter.QuadPart) ^ GetCurrentProcessId();
    for (std::uint64_t attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      path_ = folder + kTemporaryPrefix + std::to_wstring(seed + attempt) + kTemporarySuffix;
      handle_ = UniqueFileHandle(
          CreateFileW(path_.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr));
      if (handle_.IsValid()) {
        markedForDeletion_ = MarkForDeletion(true);
        return;
      }
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
    // A marked file goes with its handle; only one that could not be marked is
    // removed by its name.
    if (!markedForDeletion_) markedForDeletion_ = MarkForDeletion(true);
    handle_.Close();
    if (!markedForDeletion_) DeleteFileW(path_.c_str());
  }

  HANDLE Handle() const { return handle_.Get(); }

  // Forces the data to the disk before the file takes the target's name, so that a
  // power cut never leaves the name on a file whose data never arrived.
  void Flush() {
    if (!FlushFileBuffers(handle_.Get())) throw FailureFromLastError();
  }

  // Renames the file over `target`, in the same folder, through its own handle; then
  // closes it.
  void MoveOver(const std::wstring& relativeTarget) {
    const std::wstring target = FullPath(relativeTarget);
    if (markedForDeletion_ && !MarkForDeletion(false)) throw FailureFromLastError();
    markedForDeletion_ = false;
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<std::uint8_t> buffer(offsetof(FILE_RENAME_INFO, FileName) + nameBytes +
                                     sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, target.c_str(), nameBytes + sizeof(wchar_t));
    if (!SetFileInformationByHandle(handle_.Get(), FileRenameInfo, rename,
                                    static_cast<DWORD>(buffer.size()))) {
      const DWORD error = GetLastError();
      // Windows refuses to replace a file that is open or mapped as access denied,
      // which is also its answer for a file that no retry will ever replace.
      if (error == ERROR_ACCESS_DENIED && IsHeldOpen(target)) throw HostFailure::InUse();
      throw FailureFromWin32Error(error);
    }
    moved_ = true;
    if (!handle_.Close()) throw FailureFromLastError();
  }

 private:
  bool MarkForDeletion(bool deleteOnClose) {
    // Its one member is named after DeleteFile, which the headers turn into a macro.
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(deleteOnClose)};
    return SetFileInformationByHandle(handle_.Get(), FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
  }

  std::wstring path_;
  UniqueFileHandle handle_;
  bool markedForDeletion_ = false;
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

// Writes a file opened for overlapped I/O from its start on, one write after the
// other, each waited for.
class OverlappedWriter {
 public:
  explicit OverlappedWriter(HANDLE file)
      : file_(file), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!done_.IsValid()) throw FailureFromLastError();
  }

  // Writes all of `bytes` after those written before; counts them in `written`.
  void Write(ByteView bytes, std::atomic<std::uint64_t>& written) {
    while (!bytes.empty()) {
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kLargestWrite));
      OVERLAPPED overlapped{};
      overlapped.Offset = static_cast<DWORD>(offset_);
      overlapped.OffsetHigh = static_cast<DWORD>(offset_ >> 32);
      overlapped.hEvent = done_.Get();
      DWORD taken = 0;
      if (!WriteFile(file_, bytes.data(), chunk, nullptr, &overlapped) &&
          GetLastError() != ERROR_IO_PENDING) {
        throw FailureFromLastError();
      }
      if (!GetOverlappedResult(file_, &overlapped, &taken, TRUE)) throw FailureFromLastError();
      // A write that reports success but takes nothing would never finish.
      if (taken == 0) throw HostFailure(failure::kPathFileAccess);
      bytes = bytes.subspan(taken);
      offset_ += taken;
      written += taken;
    }
  }

 private:
  HANDLE file_;
  UniqueKernelHandle done_;
  std::uint64_t offset_ = 0;
};

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

// What the writes of one pass share.
struct Win32PassState {
  // One thread for all of them: a package of hundreds of items pays one start.
  TaskThread writer;
  std::unique_ptr<StreamDecoding> decoding;
  // The folders already rid of the temporary files that an earlier run left: the
  // pass's own leave none behind, so one look in each folder is enough.
  std::vector<std::wstring> cleanedFolders;
};

void Win32FileSystem::WriteWholeFile(const Text& path, const StoredBytes& bytes,
                                     const WriteProgress& progress) {
  std::atomic<std::uint64_t> written{0};
  std::optional<TaskThread> own;
  TaskThread& thread = pass_ != nullptr ? pass_->writer : own.emplace();
  const TaskThread::Running writer = thread.Start([&] { WriteHere(path, bytes, written); });
  while (!writer.EndsWithin(kProgressIntervalMs)) {
    if (progress) progress(written);
  }
  writer.PassOnFailure();
}

namespace {

// Lends the pass's shared state to the file system for as long as the pass lasts.
class Win32PassWrites final : public PassWrites {
 public:
  explicit Win32PassWrites(Win32PassState*& lent) : lent_(lent) { lent_ = &state_; }
  Win32PassWrites(const Win32PassWrites&) = delete;
  Win32PassWrites& operator=(const Win32PassWrites&) = delete;
  ~Win32PassWrites() override {
    if (lent_ == &state_) lent_ = nullptr;
  }

 private:
  Win32PassState*& lent_;
  Win32PassState state_;
};

}  // namespace

std::unique_ptr<PassWrites> Win32FileSystem::BeginPass() {
  return std::make_unique<Win32PassWrites>(pass_);
}

StreamDecoding& Win32FileSystem::DecodingFor(const StoredBytes& item) {
  std::unique_ptr<StreamDecoding>& decoding = pass_->decoding;
  if (decoding == nullptr || !decoding->Reaches(item.bytes, item.place)) {
    decoding.reset();
    decoding = std::make_unique<StreamDecoding>(image_, item.bytes);
  }
  return *decoding;
}

void Win32FileSystem::WriteHere(const Text& path, const StoredBytes& bytes,
                                std::atomic<std::uint64_t>& written) {
  const std::wstring target = WideNameFromText(path);
  RefuseReadOnlyTarget(target);
  const std::wstring folder = FolderPrefix(target);
  if (pass_ == nullptr) {
    RemoveLeftTemporaryFiles(folder);
  } else if (std::find(pass_->cleanedFolders.begin(), pass_->cleanedFolders.end(), folder) ==
             pass_->cleanedFolders.end()) {
    RemoveLeftTemporaryFiles(folder);
    pass_->cleanedFolders.push_back(folder);
  }
  TemporaryFile temporary(folder);
  // Read as the payload's check read them at start-up (CngSha256): from
  // the image's file, held since before the check so that nobody can write it, or
  // else from the image's read-only pages, which Windows fills from a file that it
  // lets nobody write while the image is mapped. Either way the bytes written are
  // the bytes that were checked, without hashing them a second time. A compressed
  // frame that fails to decode whole, or whose checksum differs, fails here, so
  // the temporary file never takes the target's name.
  OverlappedWriter writer(temporary.Handle());
  BackgroundFlush flush(temporary.Handle());
  const auto write = [&](ByteView piece) {
    writer.Write(piece, written);
    flush.Written(piece.size());
  };
  // An item stored together with others has its checksum and size checked here,
  // before the rename: the stream's own checksum comes only at its end. Outside a
  // pass a write decodes the stream for itself alone.
  if (bytes.storage == Storage::kInStream && pass_ != nullptr) {
    DecodingFor(bytes).Deliver(bytes.place, write);
  } else {
    ReadItemContent(image_, bytes, kLargestWrite, write);
  }
  flush.Finish();
  temporary.Flush();
  temporary.MoveOver(target);
}

}  // namespace velbor
