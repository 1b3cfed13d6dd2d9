#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "host/text.h"

namespace velbor {

// Numbers of the failures that host operations raise; the error boxes show them.
namespace failure {
inline constexpr std::int32_t kInvalidArgument = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kBadFileName = 52;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kDiskFull = 61;
inline constexpr std::int32_t kPermissionDenied = 70;
inline constexpr std::int32_t kPathFileAccess = 75;
inline constexpr std::int32_t kPathNotFound = 76;
// A compressed item that does not decode whole and sound, or whose content differs
// from its checksum.
inline constexpr std::int32_t kInvalidFileFormat = 321;
inline constexpr std::int32_t kResourceNotFound = 326;
}  // namespace failure

// What a handler learns of the failure it caught. No procedure numbers its lines,
// so the line is always 0.
struct ErrorInfo {
  std::int32_t number = 0;
  Text description;
  Text source;
  std::int32_t line = 0;
};

// The description that goes with a failure number; numbers outside the list
// above read "Application-defined or object-defined error".
Text StandardDescription(std::int32_t number);

// The one failure type of the system: every host operation that fails throws it,
// and the procedures' handlers catch it.
class HostFailure : public std::exception {
 public:
  // A failure with the standard description of its number.
  explicit HostFailure(std::int32_t number);
  HostFailure(std::int32_t number, Text description);

  // Failure 326, naming the resource number that was looked for.
  static HostFailure ResourceNotFound(std::int32_t resourceNumber);

  // Failure 70 because another program holds the file (a sharing or lock
  // violation, a mapped file): unlike a refusal of the file itself, it may pass
  // once that program lets go.
  static HostFailure InUse();

  const ErrorInfo& Info() const noexcept { return info_; }
  std::int32_t Number() const noexcept { return info_.number; }
  const Text& Description() const noexcept { return info_.description; }
  const Text& Source() const noexcept { return info_.source; }
  bool IsInUse() const noexcept { return inUse_; }

  const char* what() const noexcept override { return what_.c_str(); }

 private:
  ErrorInfo info_;
  std::string what_;
  bool inUse_ = false;
};

// "Error 53 (File not found) in procedure GeneraPathDll": how a procedure's handler
// names in its box the failure that it caught.
Text ProcedureFailureText(const HostFailure& caught, TextView procedure);

}  // namespace velbor
