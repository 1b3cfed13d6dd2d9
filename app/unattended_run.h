#pragma once

#include <functional>
#include <optional>

#include "app/install_log.h"

namespace velbor {

// A quiet or passive run: nobody answers, so what would be asked ends the run, and
// its exit code tells the deployment tool how it went.
class UnattendedRun {
 public:
  // `endProcess` ends the process at once with the exit code it is given.
  UnattendedRun(const InstallLog& log, std::function<void(int exitCode)> endProcess)
      : log_(log), endProcess_(std::move(endProcess)) {}

  // Something failed that no retry mends: anything but a file in use (a folder
  // not found, a package fault, a read-only target, a damaged frame), or a
  // registration tool that failed. The run ends with 1603 once every item has
  // been tried.
  void FailForGood() { failedForGood_ = true; }
  bool FailedForGood() const { return failedForGood_; }

  // Logs the end with `exitCode` and its meaning, then ends the process.
  void End(int exitCode);

  // The exit code the run ended with, where ending the process came back (tests).
  std::optional<int> EndedWith() const { return endedWith_; }

 private:
  const InstallLog& log_;
  std::function<void(int)> endProcess_;
  bool failedForGood_ = false;
  std::optional<int> endedWith_;
};

// Logs that the run ends with `exitCode`, with its meaning.
void LogEnd(const InstallLog& log, int exitCode);

}  // namespace velbor
