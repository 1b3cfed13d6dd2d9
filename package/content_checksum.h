#pragma once

#include <cstdint>
#include <memory>

#include "host/resources.h"

struct XXH64_state_s;

namespace velbor {

// The XXH64 (seed 0) of content handed in pieces: fast enough to check each item
// of a stream as it is decoded without slowing the decoder down.
class ContentChecksum {
 public:
  // Fails with 7 when its state cannot be had.
  ContentChecksum();
  ~ContentChecksum();
  ContentChecksum(const ContentChecksum&) = delete;
  ContentChecksum& operator=(const ContentChecksum&) = delete;

  void Add(ByteView piece);
  std::uint64_t Value() const;

 private:
  struct Free {
    void operator()(XXH64_state_s* state) const;
  };
  std::unique_ptr<XXH64_state_s, Free> state_;
};

// The XXH64 of `content` at once.
std::uint64_t ContentChecksumOf(ByteView content);

}  // namespace velbor
