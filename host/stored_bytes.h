#pragma once

#include <cstdint>

#include "host/resources.h"

namespace velbor {

// How an item's bytes are kept in the program.
enum class Storage {
  kRaw,
  // One zstd frame that declares its content size and carries its checksum.
  kZstd,
  // A part of the content of one zstd frame that holds several items together.
  kInStream,
};

// Where an item's content lies in the decoded content of items stored together,
// with the XXH64 of that content, which is checked before the item is written:
// the stream's own checksum comes only at its end.
struct ContentPlace {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::uint64_t checksum = 0;
};

// An item's bytes as the program keeps them: a view of its resources.
struct StoredBytes {
  StoredBytes() = default;
  // Raw bytes are their own content: a view converts.
  StoredBytes(ByteView raw) : bytes(raw) {}
  StoredBytes(ByteView stored, Storage how) : bytes(stored), storage(how) {}
  // Item content that lies at `where` in the content of the frame `stream`.
  StoredBytes(ByteView stream, const ContentPlace& where)
      : bytes(stream), storage(Storage::kInStream), place(where) {}

  ByteView bytes;
  Storage storage = Storage::kRaw;
  ContentPlace place;
};

}  // namespace velbor
