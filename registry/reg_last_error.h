#pragma once

#include <cstdint>

#include "host/text.h"

namespace velbor {

// The registry library's last failure. The texts view the fixed tables below, so
// recording a failure never allocates and cannot fail, not even while a key is
// being closed during the unwinding of another failure.
struct RegLastError {
  std::int32_t Number = 0;
  TextView Source;
  TextView Description;
};

// The source that every recorded failure names.
inline constexpr char16_t kRegErrorSource[] = u"GestioneRegistro";

// Library error codes: failures that the library itself detects.
namespace reg_error {
inline constexpr std::int32_t kTooManyKeys = 100;
inline constexpr std::int32_t kTypeMismatch = 200;
inline constexpr std::int32_t kInvalidType = 300;
// Recorded as a system error when a missing key cannot be created during a walk.
inline constexpr std::int32_t kCreationFailed = -1;
}  // namespace reg_error

// The message of a library error code; codes outside the table read "Errore imprevisto".
TextView LibraryErrorMessage(std::int32_t code) noexcept;

// The message of a Windows error code; codes outside the table read "Errore non previsto".
TextView SystemErrorMessage(std::int32_t code) noexcept;

// The records that SetLibraryError and SetSystemError store.
RegLastError LibraryError(std::int32_t code) noexcept;
RegLastError SystemError(std::int32_t code) noexcept;

}  // namespace velbor
