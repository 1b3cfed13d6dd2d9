#include "host/win32/win32_log_file.h"

#include <string>

#include "host/win32/wide_text.h"
#include "host/win32/win32_failure.h"
#include "host/win32/windows_api.h"

namespace velbor {

Win32LogFile::Win32LogFile(const Text& path) {
  const std::wstring name = WideNameFromText(path);
  // Append access only: every write lands at the end, whoever else appends.
  file_ = UniqueFileHandle(CreateFileW(
      name.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file_.IsValid()) throw FailureFromLastError();
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file_.Get(), &information)) throw FailureFromLastError();
  // A planted link or hard link would have the elevated installer write into a
  // file of the system's.
  if ((information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
          0 ||
      information.nNumberOfLinks != 1) {
    throw FailureFromWin32Error(ERROR_ACCESS_DENIED);
  }
  if (information.nFileSizeHigh == 0 && information.nFileSizeLow == 0) Append("\xEF\xBB\xBF");
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
