#include "host/win32/worker_thread.h"

#include <utility>

#include "host/win32/win32_failure.h"

namespace velbor {

WorkerThread::WorkerThread(std::function<void()> work) : work_(std::move(work)) {
  thread_ = UniqueKernelHandle(CreateThread(nullptr, 0, &WorkerThread::Run, this, 0, nullptr));
  if (!thread_.IsValid()) throw FailureFromLastError();
}

WorkerThread::~WorkerThread() { Wait(); }

bool WorkerThread::EndsWithin(DWORD milliseconds) const {
  return WaitForSingleObject(thread_.Get(), milliseconds) != WAIT_TIMEOUT;
}

void WorkerThread::Wait() const { WaitForSingleObject(thread_.Get(), INFINITE); }

void WorkerThread::PassOnFailure() const {
  if (failure_) std::rethrow_exception(failure_);
}

DWORD WINAPI WorkerThread::Run(void* self) {
  auto* worker = static_cast<WorkerThread*>(self);
  try {
    worker->work_();
  } catch (...) {
    worker->failure_ = std::current_exception();
  }
  return 0;
}

}  // namespace velbor
