// Key paths and their walk. Input lines: a control line (first byte: bit 0 creates
// missing keys, bits 1-2 pick the operation: 0 and 1 OpenKeyPath, 2 CreateKey, 3
// ReadValue of the default value; second byte, when there, makes the registry
// fail the open (bit 0) or the creation (bit 1) numbered by bits 2-4 with the code
// of bits 5-7), the key path, the subkey for CreateKey, then keys to arrange: a
// line's first byte picks the predefined root, the rest is the path below it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "host/failure.h"
#include "host/registry_api.h"
#include "registry/key_path.h"
#include "registry/registry_library.h"
#include "tests/doubles/fake_registry.h"

namespace {

using namespace velbor;
using testing::FakeRegistry;

constexpr std::array<RegKey, 7> kRoots = {
    reg::kClassesRoot,     reg::kCurrentUser,   reg::kLocalMachine, reg::kUsers,
    reg::kPerformanceData, reg::kCurrentConfig, reg::kDynData};
constexpr std::array<std::int32_t, 8> kCodes = {
    reg::kFileNotFound, reg::kAccessDenied, reg::kInvalidHandle, reg::kMoreData, 1, 87, 1018, -1};

void PlanFailures(FakeRegistry& registry, const std::string& control) {
  if (control.size() < 2) return;
  const auto plan = static_cast<unsigned char>(control[1]);
  const int nth = 1 + ((plan >> 2) & 7);
  const std::int32_t code = kCodes[plan >> 5];
  if (plan & 1) registry.FailCall(FakeRegistry::Function::kOpen, nth, code);
  if (plan & 2) registry.FailCall(FakeRegistry::Function::kCreate, nth, code);
}

void Walk(FakeRegistry& registry, RegistryLibrary& library, unsigned char operation,
          const Text& keyPath, const Text& subKey) {
  const bool create = (operation & 1) != 0;
  switch ((operation >> 1) & 3) {
    case 2:
      library.CreateKey(keyPath, subKey);
      break;
    case 3: {
      RegValue value;
      library.ReadValue(keyPath, u"", value, ValueKind::kText);
      break;
    }
    default: {
      const RegKey key = library.OpenKeyPath(keyPath, create, reg::kKeyAllAccess);
      testing::Expect(registry.OpenHandleCount() <= 1, "only the returned handle stays open");
      if (key != RegistryLibrary::kFailedKey && key != 0 && registry.OpenHandleCount() == 1) {
        testing::Expect(library.CloseKey(key) == 0, "the returned handle closes");
      }
      break;
    }
  }
  testing::Expect(registry.OpenHandleCount() == 0, "no handle is left open");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  testing::FuzzInput input(data, size);
  const std::string control = input.NextRawLine();
  const Text keyPath = input.NextLine();
  const Text subKey = input.NextLine();

  FakeRegistry registry;
  while (!input.AtEnd()) {
    const std::string line = input.NextRawLine();
    if (line.empty()) continue;
    registry.PutKey(kRoots[static_cast<unsigned char>(line[0]) % kRoots.size()], line.substr(1));
  }
  PlanFailures(registry, control);

  // The pieces' rules hold whatever the walk does.
  if (const auto parts = SplitKeyPath(keyPath)) {
    testing::Expect(parts->size() <= kMaxKeyPathParts, "at most 32 pieces");
    for (const Text& part : *parts) {
      testing::Expect(!part.empty(), "no empty piece");
      testing::Expect(part.front() != u' ' && part.back() != u' ', "pieces are trimmed");
      testing::Expect(part.find(u'\\') == Text::npos, "no separator inside a piece");
    }
    static_cast<void>(JoinKeyPath(*parts, parts->size()));
    if (!parts->empty()) static_cast<void>(PredefinedRoot(parts->front()));
  }

  RegistryLibrary library(registry);
  const auto operation = static_cast<unsigned char>(control.empty() ? 0 : control[0]);
  try {
    Walk(registry, library, operation, keyPath, subKey);
  } catch (const HostFailure&) {
    testing::Expect(registry.OpenHandleCount() == 0, "no handle is left open after a failure");
  }
  return 0;
}
