// The registry world of the Windows tests: the real registry, arranged through
// advapi32 under HKEY_CURRENT_USER.
#include <memory>
#include <stdexcept>
#include <string>

#include "host/win32/win32_registry.h"
#include "host/win32/windows_api.h"
#include "tests/contract/registry_world.h"

namespace velbor::testing {
namespace {

// A key of HKEY_CURRENT_USER opened or created for arranging, closed when it goes.
class ArrangedKey {
 public:
  ArrangedKey(const std::string& path, bool create) {
    const LSTATUS status = create
                               ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key_, nullptr)
                               : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  ArrangedKey(const ArrangedKey&) = delete;
  ArrangedKey& operator=(const ArrangedKey&) = delete;
  ~ArrangedKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }

  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class Win32RegistryWorld final : public RegistryWorld {
 public:
  // A run that was cut short may have left the scratch key behind.
  Win32RegistryWorld() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
    PutKey("");
  }
  ~Win32RegistryWorld() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey); }

  RegistryApi& Registry() override { return registry_; }

  void PutKey(const std::string& path) override {
    if (ArrangedKey(Below(path), true).Get() == nullptr) {
      throw std::runtime_error("cannot make key " + path);
    }
  }

  void PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                const std::vector<std::uint8_t>& data) override {
    const ArrangedKey key(Below(path), true);
    if (key.Get() == nullptr || RegSetValueExA(key.Get(), name.c_str(), 0, type, data.data(),
                                               static_cast<DWORD>(data.size())) != ERROR_SUCCESS) {
      throw std::runtime_error("cannot put value " + name + " at " + path);
    }
  }

  bool HasKey(const std::string& path) override {
    return ArrangedKey(Below(path), false).Get() != nullptr;
  }

 private:
  static std::string Below(const std::string& path) {
    return path.empty() ? kScratchKey : std::string(kScratchKey) + "\\" + path;
  }

  Win32Registry registry_;
};

}  // namespace

std::unique_ptr<RegistryWorld> MakeRegistryWorld() {
  return std::make_unique<Win32RegistryWorld>();
}

}  // namespace velbor::testing
