#pragma once

#include <exception>
#include <functional>

#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

namespace velbor {

// Runs a piece of work on a thread of its own, which is waited for however the
// caller leaves: the work uses what the caller holds. What it throws is kept.
class WorkerThread {
 public:
  // Fails as CreateThread fails.
  explicit WorkerThread(std::function<void()> work);
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  ~WorkerThread();

  // Whether the work has ended within `milliseconds`.
  bool EndsWithin(DWORD milliseconds) const;

  // Waits for the work to end.
  void Wait() const;

  // Once it has ended: throws what the work threw.
  void PassOnFailure() const;

 private:
  static DWORD WINAPI Run(void* self);

  std::function<void()> work_;
  std::exception_ptr failure_;
  UniqueKernelHandle thread_;
};

}  // namespace velbor
