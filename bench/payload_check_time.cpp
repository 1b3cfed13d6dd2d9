#include "bench/payload_check_time.h"

#include <chrono>
#include <stdexcept>

#include "app/payload_check.h"
#include "app/win32/payload_check_thread.h"

namespace velbor::bench {

std::vector<double> SecondsToCheck(Resources& package, const ImageFile* image, int rounds) {
  std::vector<double> seconds;
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    // No window: the message that the check has ended goes to this thread's queue.
    PayloadCheckThread check(ReadPayload(package), image, nullptr, WM_NULL);
    if (check.AwaitVerdict({})) throw std::runtime_error("the payload's check refused it");
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return seconds;
}

}  // namespace velbor::bench
