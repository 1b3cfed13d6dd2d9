#include "bench/memory_watch.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "host/win32/windows_api.h"

// After windows.h, which it needs.
#include <psapi.h>

namespace velbor::bench {
namespace {

// Short against a 137 MB write, which takes a tenth of a second or more.
constexpr auto kSampleInterval = std::chrono::milliseconds(2);

}  // namespace

MemoryFigures CurrentMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    throw std::runtime_error("GetProcessMemoryInfo failed");
  }
  return {counters.PagefileUsage, counters.PeakPagefileUsage, counters.PeakWorkingSetSize};
}

MemoryWatch::MemoryWatch() {
  Sample();
  sampler_ = std::jthread([this](std::stop_token stop) {
    while (!stop.stop_requested()) {
      Sample();
      std::this_thread::sleep_for(kSampleInterval);
    }
  });
}

void MemoryWatch::Sample() {
  const MemoryFigures now = CurrentMemory();
  const std::size_t seen = std::max(now.privateBytes, now.peakPrivateBytes);
  std::size_t peak = peak_.load();
  while (seen > peak && !peak_.compare_exchange_weak(peak, seen)) {
  }
}

}  // namespace velbor::bench
