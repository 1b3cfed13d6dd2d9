#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

namespace velbor::bench {

// The process's memory figures as GetProcessMemoryInfo gives them.
struct MemoryFigures {
  std::size_t privateBytes = 0;
  std::size_t peakPrivateBytes = 0;
  std::size_t peakWorkingSet = 0;
};

MemoryFigures CurrentMemory();

// Samples the private bytes every few milliseconds while it lives and keeps the
// highest. Wine reports the current private bytes as the peak, so only sampling
// catches a buffer that comes and goes within a round.
class MemoryWatch {
 public:
  MemoryWatch();
  MemoryWatch(const MemoryWatch&) = delete;
  MemoryWatch& operator=(const MemoryWatch&) = delete;
  ~MemoryWatch() = default;

  // The highest private bytes seen so far, sampled or reported as a peak.
  std::size_t PeakPrivateBytes() const { return peak_.load(); }

  // Takes one sample now, on the calling thread.
  void Sample();

 private:
  std::atomic<std::size_t> peak_{0};
  std::jthread sampler_;
};

}  // namespace velbor::bench
