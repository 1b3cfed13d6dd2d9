#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "app/payload_check.h"
#include "host/win32/image_file.h"
#include "host/win32/windows_api.h"
#include "host/win32/worker_thread.h"

namespace velbor {

// The payload's check on a thread of its own, started with the program, so that
// the window shows and answers while every item is hashed. Its bytes are read as
// the installation will write them, hashed by the system's CNG (CngSha256).
class PayloadCheckThread final : public PayloadCheck {
 public:
  // Starts checking `payload` at once, reading from `image` (which may be null
  // and outlives this); `doneMessage` is posted to `window` when the verdict is
  // known. Fails when the thread cannot start.
  PayloadCheckThread(PayloadContents payload, const ImageFile* image, HWND window,
                     UINT doneMessage);
  // Stops a check that is still running and waits for it.
  ~PayloadCheckThread() override;
  PayloadCheckThread(const PayloadCheckThread&) = delete;
  PayloadCheckThread& operator=(const PayloadCheckThread&) = delete;

  std::optional<PayloadDamage> AwaitVerdict(const CheckProgress& progress) override;

 private:
  void Check();

  PayloadContents payload_;
  std::uint64_t total_;
  const ImageFile* image_;
  HWND window_;
  UINT doneMessage_;
  std::atomic<std::uint64_t> checked_{0};
  std::atomic<bool> stopping_{false};
  // Written by the thread before it ends, read only once it has; refused until the
  // check has proven the payload sound.
  std::optional<PayloadDamage> verdict_ = PayloadDamage{};
  // Last, so that it starts once everything it uses is there and is waited for
  // before any of it goes.
  WorkerThread thread_;
};

}  // namespace velbor
