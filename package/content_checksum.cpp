#include "package/content_checksum.h"

#define XXH_STATIC_LINKING_ONLY
#include <common/xxhash.h>

#include "host/failure.h"

namespace velbor {

void ContentChecksum::Free::operator()(XXH64_state_s* state) const { XXH64_freeState(state); }

ContentChecksum::ContentChecksum() : state_(XXH64_createState()) {
  if (state_ == nullptr || XXH64_reset(state_.get(), 0) != XXH_OK) {
    throw HostFailure(failure::kOutOfMemory);
  }
}

ContentChecksum::~ContentChecksum() = default;

void ContentChecksum::Add(ByteView piece) {
  XXH64_update(state_.get(), piece.data(), piece.size());
}

std::uint64_t ContentChecksum::Value() const { return XXH64_digest(state_.get()); }

std::uint64_t ContentChecksumOf(ByteView content) {
  return XXH64(content.data(), content.size(), 0);
}

}  // namespace velbor
