#include "host/win32/win32_failure.h"

namespace velbor {

std::int32_t FailureNumberFromWin32Error(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return failure::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return failure::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_WRITE_PROTECT:
      return failure::kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return failure::kDiskFull;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return failure::kBadFileName;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return failure::kOutOfMemory;
    case ERROR_INVALID_PARAMETER:
      return failure::kInvalidArgument;
    default:
      return failure::kPathFileAccess;
  }
}

HostFailure FailureFromWin32Error(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return HostFailure::InUse();
    default:
      return HostFailure(FailureNumberFromWin32Error(error));
  }
}

HostFailure FailureFromLastError() { return FailureFromWin32Error(GetLastError()); }

}  // namespace velbor
