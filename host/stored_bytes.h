#pragma once

#include "host/resources.h"

namespace velbor {

// How an item's bytes are kept in the program.
enum class Storage {
  kRaw,
  // One zstd frame that declares its content size and carries its checksum.
  kZstd,
};

// An item's bytes as the program keeps them: a view of its resources.
struct StoredBytes {
  StoredBytes() = default;
  // Raw bytes are their own content: a view converts.
  StoredBytes(ByteView raw) : bytes(raw) {}
  StoredBytes(ByteView stored, Storage how) : bytes(stored), storage(how) {}

  ByteView bytes;
  Storage storage = Storage::kRaw;
};

}  // namespace velbor
