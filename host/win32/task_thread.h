#pragma once

#include <exception>
#include <functional>

#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

namespace velbor {

// One thread that runs pieces of work one after the other for as long as this
// lives: a caller with many short pieces (a pass over hundreds of small files) pays
// one thread start, not one for each piece.
class TaskThread {
 public:
  // The piece of work handed in, waited for however the caller leaves: the work
  // uses what the caller holds.
  class Running {
   public:
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    ~Running();

    // Whether the work has ended within `milliseconds`.
    bool EndsWithin(DWORD milliseconds) const;

    // Once it has ended: throws what the work threw.
    void PassOnFailure() const;

   private:
    friend class TaskThread;
    explicit Running(const TaskThread& thread) : thread_(thread) {}
    const TaskThread& thread_;
  };

  // Fails as CreateEventW or CreateThread fail.
  TaskThread();
  TaskThread(const TaskThread&) = delete;
  TaskThread& operator=(const TaskThread&) = delete;
  // Ends the thread once its work has ended.
  ~TaskThread();

  // Runs `work` on the thread; one piece at a time, so the one before must have
  // ended.
  [[nodiscard]] Running Start(std::function<void()> work);

 private:
  static DWORD WINAPI Run(void* self);

  std::function<void()> work_;
  std::exception_ptr failure_;
  bool stopping_ = false;
  // Set for the thread when work (or the end) is handed in; set by the thread
  // while no work runs.
  UniqueKernelHandle handedIn_;
  UniqueKernelHandle idle_;
  // Last, so that it starts once the rest is ready.
  UniqueKernelHandle thread_;
};

}  // namespace velbor
