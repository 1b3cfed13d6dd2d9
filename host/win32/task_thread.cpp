#include "host/win32/task_thread.h"

#include <utility>

#include "host/win32/win32_failure.h"

namespace velbor {

TaskThread::TaskThread()
    : handedIn_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      idle_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {
  if (!handedIn_.IsValid() || !idle_.IsValid()) throw FailureFromLastError();
  thread_ = UniqueKernelHandle(CreateThread(nullptr, 0, &TaskThread::Run, this, 0, nullptr));
  if (!thread_.IsValid()) throw FailureFromLastError();
}

TaskThread::~TaskThread() {
  WaitForSingleObject(idle_.Get(), INFINITE);
  stopping_ = true;
  SetEvent(handedIn_.Get());
  WaitForSingleObject(thread_.Get(), INFINITE);
}

TaskThread::Running TaskThread::Start(std::function<void()> work) {
  work_ = std::move(work);
  failure_ = nullptr;
  ResetEvent(idle_.Get());
  SetEvent(handedIn_.Get());
  return Running(*this);
}

DWORD WINAPI TaskThread::Run(void* self) {
  auto* thread = static_cast<TaskThread*>(self);
  for (;;) {
    WaitForSingleObject(thread->handedIn_.Get(), INFINITE);
    if (thread->stopping_) return 0;
    try {
      thread->work_();
    } catch (...) {
      thread->failure_ = std::current_exception();
    }
    // What the work held goes before the caller hears that it has ended.
    thread->work_ = nullptr;
    SetEvent(thread->idle_.Get());
  }
}

TaskThread::Running::~Running() { WaitForSingleObject(thread_.idle_.Get(), INFINITE); }

bool TaskThread::Running::EndsWithin(DWORD milliseconds) const {
  return WaitForSingleObject(thread_.idle_.Get(), milliseconds) != WAIT_TIMEOUT;
}

void TaskThread::Running::PassOnFailure() const {
  if (thread_.failure_) std::rethrow_exception(thread_.failure_);
}

}  // namespace velbor
