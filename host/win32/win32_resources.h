#pragma once

#include <cstdint>
#include <optional>

#include "host/resources.h"
#include "host/win32/windows_api.h"

namespace velbor {

// The resources of a loaded module, by default the program itself.
class Win32Resources final : public Resources {
 public:
  Win32Resources();
  explicit Win32Resources(HMODULE module);

  Text LoadResourceText(std::int32_t number) override;
  ByteView LoadResourceBytes(std::int32_t number, const Text& typeName) override;
  std::uint64_t ResourceSize(std::int32_t number, const Text& typeName) override;

 private:
  std::optional<ByteView> FindBytes(std::int32_t number, const Text& typeName) const;

  HMODULE module_;
};

}  // namespace velbor
