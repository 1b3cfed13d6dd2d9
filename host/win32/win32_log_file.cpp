#include "host/win32/win32_log_file.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/failure.h"
#include "host/folder_walk.h"
#include "host/win32/full_path.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"
#include "host/win32/windows_api.h"

namespace velbor {
namespace {

// The folders of the log's path, each held open as it stands until the file is
// open. Read access makes the share mode count, and it leaves out deletion: nobody
// can rename, remove or replace a held folder meanwhile.
class HeldFolders final : public FolderOpener {
 public:
  bool OpensALink(const Text& path) override {
    UniqueFileHandle folder(
        CreateFileW(WideNameFromText(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder.IsValid()) throw FailureFromLastError();
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(folder.Get(), &information)) throw FailureFromLastError();
    held_.push_back(std::move(folder));
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      throw FailureFromWin32Error(ERROR_DIRECTORY);
    }
    return (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  }

 private:
  std::vector<UniqueFileHandle> held_;
};

// The path that the system says `file` really has, in the form the user writes.
std::wstring FinalPathOf(HANDLE file) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(
        file, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) throw FailureFromLastError();
    // Too small a buffer is answered with the size needed, its terminator counted.
    const bool fits = length < path.size();
    path.resize(length);
    if (fits) return WideFromText(WithoutLongPathPrefix(TextFromWide(path)));
  }
}

// What the system says of `file`, opened at `fullPath`, when it is a plain disk
// file of one name that really lies there: not a pipe or device, a link, a folder,
// a second name of another file, or a file that a folder swapped in while it was
// opened leads to.
std::optional<BY_HANDLE_FILE_INFORMATION> PlainFileAt(HANDLE file, const std::wstring& fullPath) {
  if (GetFileType(file) != FILE_TYPE_DISK) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file, &information)) throw FailureFromLastError();
  if ((information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
          0 ||
      information.nNumberOfLinks != 1) {
    return std::nullopt;
  }
  const std::wstring final = FinalPathOf(file);
  if (CompareStringOrdinal(final.c_str(), static_cast<int>(final.size()), fullPath.c_str(),
                           static_cast<int>(fullPath.size()), TRUE) != CSTR_EQUAL) {
    return std::nullopt;
  }
  return information;
}

}  // namespace

Win32LogFile::Win32LogFile(const Text& path) {
  const std::wstring fullPath = FullPath(WideNameFromText(path));
  HeldFolders folders;
  OpenFoldersOf(TextFromWide(fullPath), folders);
  // Append access only: every write lands at the end, whoever else appends. The
  // quality of service keeps a pipe's server from acting as the elevated installer.
  file_ = UniqueFileHandle(
      CreateFileW(fullPath.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | DELETE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | SECURITY_SQOS_PRESENT |
                      SECURITY_IDENTIFICATION,
                  nullptr));
  if (!file_.IsValid()) throw FailureFromLastError();
  const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
  const std::optional<BY_HANDLE_FILE_INFORMATION> information = PlainFileAt(file_.Get(), fullPath);
  if (!information) {
    // A file made where it was not asked for goes again, through its own handle.
    if (created) {
      FILE_DISPOSITION_INFO disposition{TRUE};
      SetFileInformationByHandle(file_.Get(), FileDispositionInfo, &disposition,
                                 sizeof disposition);
    }
    throw FailureFromWin32Error(ERROR_ACCESS_DENIED);
  }
  if (information->nFileSizeHigh == 0 && information->nFileSizeLow == 0) Append("\xEF\xBB\xBF");
}

LocalTime Win32LogFile::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

void Win32LogFile::Append(std::string_view utf8) {
  // Entries are short; one write each keeps them whole beside another appender.
  DWORD written = 0;
  if (!WriteFile(file_.Get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr)) {
    throw FailureFromLastError();
  }
  if (written != utf8.size()) throw FailureFromWin32Error(ERROR_WRITE_FAULT);
}

}  // namespace velbor
