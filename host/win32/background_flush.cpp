#include "host/win32/background_flush.h"

#include "host/win32/win32_failure.h"

namespace velbor {
namespace {

// How much written data starts a flush: few flushes, each short.
constexpr std::uint64_t kFlushAfter = 8 * 1024 * 1024;

}  // namespace

BackgroundFlush::~BackgroundFlush() { Stop(); }

void BackgroundFlush::Written(std::size_t size) {
  bool enough = false;
  {
    const std::lock_guard lock(mutex_);
    unflushed_ += size;
    enough = unflushed_ >= kFlushAfter;
  }
  if (!enough) return;
  if (!thread_) thread_.emplace([this] { Run(); });
  changed_.notify_one();
}

void BackgroundFlush::Finish() {
  Stop();
  if (!thread_) return;
  thread_->Wait();
  thread_->PassOnFailure();
}

void BackgroundFlush::Run() {
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stopped_ || unflushed_ >= kFlushAfter; });
      if (stopped_) return;
      unflushed_ = 0;
    }
    if (!FlushFileBuffers(file_)) throw FailureFromLastError();
  }
}

void BackgroundFlush::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_one();
}

}  // namespace velbor
