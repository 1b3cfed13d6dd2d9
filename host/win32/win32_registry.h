#pragma once

#include "host/registry_api.h"

namespace velbor {

// The advapi32 registry functions, passed through: every argument as given and
// every status code as answered.
class Win32Registry final : public RegistryApi {
 public:
  std::int32_t RegOpenKeyExA(RegKey key, const std::string& subKey, std::uint32_t options,
                             std::uint32_t access, RegKey& result) override;
  std::int32_t RegCreateKeyExA(RegKey key, const std::string& subKey, std::uint32_t reserved,
                               const std::string& className, std::uint32_t options,
                               std::uint32_t access, const SecurityAttributes& security,
                               RegKey& result, std::uint32_t& disposition) override;
  std::int32_t RegQueryValueExA(RegKey key, const std::string& valueName, std::uint32_t& type,
                                std::uint8_t* data, std::uint32_t& size) override;
  std::int32_t RegCloseKey(RegKey key) override;

  std::string AnsiFromText(const Text& text) override;
  Text TextFromAnsi(std::string_view ansi) override;
};

}  // namespace velbor
