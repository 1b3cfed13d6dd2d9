// The registry world of the native tests: the registry double.
#include <memory>

#include "tests/contract/registry_world.h"
#include "tests/doubles/fake_registry.h"

namespace velbor::testing {
namespace {

class FakeRegistryWorld final : public RegistryWorld {
 public:
  FakeRegistryWorld() { registry_.PutKey(reg::kCurrentUser, kScratchKey); }

  RegistryApi& Registry() override { return registry_; }

  void PutKey(const std::string& path) override {
    registry_.PutKey(reg::kCurrentUser, Below(path));
  }

  void PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                const std::vector<std::uint8_t>& data) override {
    registry_.PutValue(reg::kCurrentUser, Below(path), name, type, data);
  }

  bool HasKey(const std::string& path) override {
    return registry_.HasKey(reg::kCurrentUser, Below(path));
  }

 private:
  static std::string Below(const std::string& path) {
    return path.empty() ? kScratchKey : std::string(kScratchKey) + "\\" + path;
  }

  FakeRegistry registry_;
};

}  // namespace

std::unique_ptr<RegistryWorld> MakeRegistryWorld() { return std::make_unique<FakeRegistryWorld>(); }

}  // namespace velbor::testing
