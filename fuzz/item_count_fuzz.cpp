// The count text of string 100: the whole input, one character per byte.
#include <cstddef>
#include <cstdint>

#include "app/item_count.h"
#include "fuzz/fuzz_input.h"
#include "host/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velbor;
  const Text count = testing::FuzzInput::WholeText(data, size);
  // Only the overflow failure is documented for both readings.
  try {
    static_cast<void>(ReadNumericValue(count));
  } catch (const HostFailure& failure) {
    testing::Expect(failure.Number() == failure::kOverflow, "ReadNumericValue fails with 6 only");
  }
  try {
    static_cast<void>(LastIndexFromCount(count));
  } catch (const HostFailure& failure) {
    testing::Expect(failure.Number() == failure::kOverflow, "LastIndexFromCount fails with 6 only");
  }
  return 0;
}
