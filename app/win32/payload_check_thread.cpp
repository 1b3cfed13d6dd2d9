#include "app/win32/payload_check_thread.h"

#include <utility>

#include "host/progress_interval.h"
#include "host/win32/cng_sha256.h"

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
      doneMessage_(doneMessage),
      thread_([this] { Check(); }) {}

// The thread is waited for as it goes, after this.
PayloadCheckThread::~PayloadCheckThread() { stopping_ = true; }

void PayloadCheckThread::Check() {
  try {
    const CngSha256 sha256(image_);
    verdict_ = FindPayloadDamage(payload_, sha256, [this](std::uint64_t hashed) {
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
  while (!thread_.EndsWithin(kProgressIntervalMs)) {
    if (progress) progress(checked_, total_);
  }
  return verdict_;
}

}  // namespace velbor
