#include "package/content_pipe.h"

#include <algorithm>
#include <utility>

#include "host/failure.h"

namespace velbor {

ContentPipe::ContentPipe(std::size_t largestPiece) : largestPiece_(largestPiece) {}

void ContentPipe::Decoded(ByteView piece) {
  bool worthWaking = false;
  {
    const std::lock_guard lock(mutex_);
    if (!waiting_.empty() && waiting_.back().data() + waiting_.back().size() == piece.data()) {
      waiting_.back() = ByteView(waiting_.back().data(), waiting_.back().size() + piece.size());
    } else {
      waiting_.push_back(piece);
    }
    waitingSize_ += piece.size();
    worthWaking = waitingSize_ >= largestPiece_;
  }
  // Waking the writer for every block would make as many small writes.
  if (worthWaking) changed_.notify_all();
}

void ContentPipe::TakenUpTo(std::uint64_t count) {
  std::unique_lock lock(mutex_);
  if (taken_ >= count) return;
  // The writer takes what there is, however little, while the decoder waits.
  decoderWaits_ = true;
  changed_.notify_all();
  changed_.wait(lock, [&] { return stopped_ || taken_ >= count; });
  decoderWaits_ = false;
  if (stopped_) throw HostFailure(failure::kPathFileAccess);
}

void ContentPipe::Close() {
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

std::optional<ByteView> ContentPipe::Take() {
  std::unique_lock lock(mutex_);
  taken_ += std::exchange(inUse_, 0);
  changed_.notify_all();
  changed_.wait(lock, [&] {
    return waitingSize_ >= largestPiece_ || closed_ || (decoderWaits_ && waitingSize_ > 0);
  });
  if (waiting_.empty()) return std::nullopt;
  ByteView& next = waiting_.front();
  const ByteView piece = next.first(std::min(next.size(), largestPiece_));
  next = next.subspan(piece.size());
  if (next.empty()) waiting_.pop_front();
  waitingSize_ -= piece.size();
  inUse_ = piece.size();
  return piece;
}

void ContentPipe::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
}

}  // namespace velbor
