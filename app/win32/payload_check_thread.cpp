#include "app/win32/payload_check_thread.h"

#include <utility>

#include "host/progress_interval.h"
#include "host/win32/win32_failure.h"
#include "host/win32/win32_payload_hashing.h"

namespace velbor {
namespace {

// Thrown through the hashing to end a check that nobody waits for any more.
struct CheckStopped {};

}  // namespace

PayloadCheckThread::PayloadCheckThread(PayloadContents payload, const ImageFile* image, HWND window,
                                       UINT doneMessage)
    : payload_(std::move(payload)),
      total_(PayloadSize(payload_)),
      image_(image),
      window_(window),
      doneMessage_(doneMessage) {
  thread_ =
      UniqueKernelHandle(CreateThread(nullptr, 0, &PayloadCheckThread::Run, this, 0, nullptr));
  if (!thread_.IsValid()) throw FailureFromLastError();
}

PayloadCheckThread::~PayloadCheckThread() {
  stopping_ = true;
  WaitForSingleObject(thread_.Get(), INFINITE);
}

DWORD WINAPI PayloadCheckThread::Run(void* self) {
  static_cast<PayloadCheckThread*>(self)->Check();
  return 0;
}

void PayloadCheckThread::Check() {
  try {
    Win32PayloadHashing hashing(image_);
    verdict_ = FindPayloadDamage(payload_, hashing, [this](std::uint64_t hashed) {
      if (stopping_) throw CheckStopped{};
      checked_ = hashed;
    });
  } catch (const CheckStopped&) {
    return;
  } catch (...) {
    // A check that cannot run proves nothing: the payload is refused.
    verdict_ = PayloadDamage{};
  }
  checked_ = total_;
  PostMessageW(window_, doneMessage_, 0, 0);
}

std::optional<PayloadDamage> PayloadCheckThread::AwaitVerdict(const CheckProgress& progress) {
  for (;;) {
    const DWORD waited = WaitForSingleObject(thread_.Get(), kProgressIntervalMs);
    if (waited == WAIT_OBJECT_0) return verdict_;
    // A check that cannot be waited for has proven nothing.
    if (waited != WAIT_TIMEOUT) return PayloadDamage{};
    if (progress) progress(checked_, total_);
  }
}

}  // namespace velbor
