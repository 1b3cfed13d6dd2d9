#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/text.h"

namespace velbor {

// A registry key handle: pointer-sized, as the platform's HKEY.
using RegKey = std::intptr_t;

namespace reg {

// The predefined root keys, with the platform's values (sign-extended where a
// pointer is wider than 32 bits, as the Windows headers define them).
constexpr RegKey PredefinedKey(std::uint32_t value) {
  return static_cast<RegKey>(static_cast<std::int32_t>(value));
}
inline constexpr RegKey kClassesRoot = PredefinedKey(0x80000000u);
inline constexpr RegKey kCurrentUser = PredefinedKey(0x80000001u);
inline constexpr RegKey kLocalMachine = PredefinedKey(0x80000002u);
inline constexpr RegKey kUsers = PredefinedKey(0x80000003u);
inline constexpr RegKey kPerformanceData = PredefinedKey(0x80000004u);
inline constexpr RegKey kCurrentConfig = PredefinedKey(0x80000005u);
inline constexpr RegKey kDynData = PredefinedKey(0x80000006u);

// Access rights.
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Value types.
inline constexpr std::uint32_t kTypeSz = 1;
inline constexpr std::uint32_t kTypeExpandSz = 2;
inline constexpr std::uint32_t kTypeBinary = 3;
inline constexpr std::uint32_t kTypeDword = 4;
inline constexpr std::uint32_t kTypeMultiSz = 7;

// Status codes the registry functions answer.
inline constexpr std::int32_t kSuccess = 0;
inline constexpr std::int32_t kFileNotFound = 2;
inline constexpr std::int32_t kAccessDenied = 5;
inline constexpr std::int32_t kInvalidHandle = 6;
inline constexpr std::int32_t kMoreData = 234;

}  // namespace reg

// The security record that key creation is given.
struct SecurityAttributes {
  std::uint32_t length = 0;
  const void* securityDescriptor = nullptr;
  bool inheritHandle = false;
};

// The platform's registry functions in their ANSI forms: names and text data are
// in the system's ANSI code page, and every call answers a Windows status code,
// 0 meaning success.
class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  virtual std::int32_t RegOpenKeyExA(RegKey key, const std::string& subKey, std::uint32_t options,
                                     std::uint32_t access, RegKey& result) = 0;

  virtual std::int32_t RegCreateKeyExA(RegKey key, const std::string& subKey,
                                       std::uint32_t reserved, const std::string& className,
                                       std::uint32_t options, std::uint32_t access,
                                       const SecurityAttributes& security, RegKey& result,
                                       std::uint32_t& disposition) = 0;

  // With `data` null only the type and the size of the data are reported; otherwise
  // `size` is the buffer's size on the way in and the data's size on the way out.
  virtual std::int32_t RegQueryValueExA(RegKey key, const std::string& valueName,
                                        std::uint32_t& type, std::uint8_t* data,
                                        std::uint32_t& size) = 0;

  virtual std::int32_t RegCloseKey(RegKey key) = 0;

  // Conversions between the program's text and the system's ANSI code page.
  virtual std::string AnsiFromText(const Text& text) = 0;
  virtual Text TextFromAnsi(std::string_view ansi) = 0;
};

}  // namespace velbor
