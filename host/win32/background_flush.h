#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>

#include "host/win32/windows_api.h"
#include "host/win32/worker_thread.h"

namespace velbor {

// Forces a file to the disk on a thread of its own while it is being written, so
// that the flush before its rename has little left to wait for and the writes never
// wait for the disk meanwhile. The thread starts once there is something to flush,
// so that the many small files of a package of libraries pay no thread start. The file's handle is
// one opened for overlapped I/O: Windows runs the calls on any other handle one at a time, so a
// flush would hold the writes up.
class BackgroundFlush {
 public:
  explicit BackgroundFlush(HANDLE file) : file_(file) {}
  BackgroundFlush(const BackgroundFlush&) = delete;
  BackgroundFlush& operator=(const BackgroundFlush&) = delete;
  // Waits for a flush under way.
  ~BackgroundFlush();

  // `size` more bytes have been written. Fails as CreateThread fails.
  void Written(std::size_t size);

  // Waits for a flush under way and starts no other; fails as a flush failed.
  void Finish();

 private:
  void Run();
  void Stop();

  HANDLE file_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t unflushed_ = 0;
  bool stopped_ = false;
  // Last, so that it is waited for first.
  std::optional<WorkerThread> thread_;
};

}  // namespace velbor
