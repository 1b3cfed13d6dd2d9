// ReadValue of one value. Input: byte 0 the value's registry type, byte 1 the
// requested kind (signed), byte 2 whether the value is there (bit 0 clear) and
// whether its key is (bit 1 clear); every further byte is the value's data, of
// any length, odd REG_DWORD data included.
#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "host/failure.h"
#include "host/registry_api.h"
#include "registry/registry_library.h"
#include "tests/doubles/fake_registry.h"

namespace {

using namespace velbor;

constexpr char16_t kKeyPath[] = u"HKEY_LOCAL_MACHINE\\Software\\Velbor";

// The alternative that a successful read with data delivers, by requested kind and
// then by the value's type.
std::size_t ExpectedAlternative(std::uint32_t type, ValueKind kind) {
  constexpr std::size_t kText = 1;
  constexpr std::size_t kBytes = 2;
  constexpr std::size_t kNumber = 3;
  switch (kind) {
    case ValueKind::kText:
      return kText;
    case ValueKind::kBytes:
      return kBytes;
    case ValueKind::kNumber:
      return kNumber;
    default:
      if (type == reg::kTypeBinary) return kBytes;
      if (type == reg::kTypeDword) return kNumber;
      return kText;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint32_t type = data[0];
  const ValueKind kind{static_cast<std::int8_t>(data[1])};
  const std::uint8_t presence = data[2];
  const std::vector<std::uint8_t> bytes(data + 3, data + size);

  testing::FakeRegistry registry;
  if ((presence & 2) == 0) registry.PutKey(reg::kLocalMachine, "Software\\Velbor");
  if ((presence & 3) == 0)
    registry.PutValue(reg::kLocalMachine, "Software\\Velbor", "v", type, bytes);

  RegistryLibrary library(registry);
  RegValue value;
  std::int32_t status = RegistryLibrary::kFailure;
  try {
    status = library.ReadValue(kKeyPath, u"v", value, kind);
  } catch (const HostFailure&) {
    testing::Expect(std::holds_alternative<std::monostate>(value), "a failure leaves the holder");
  }
  testing::Expect(registry.OpenHandleCount() == 0, "the key is closed");

  const bool present = (presence & 3) == 0;
  if (!present || bytes.empty()) {
    testing::Expect(std::holds_alternative<std::monostate>(value), "no data leaves the holder");
    return 0;
  }
  if (status != 0) return 0;
  testing::Expect(value.index() == ExpectedAlternative(type, kind), "the holder's alternative");
  if (type == reg::kTypeBinary && kind == ValueKind::kBytes) {
    testing::Expect(std::get<RegBytes>(value) == bytes, "binary bytes as stored");
  }
  return 0;
}
