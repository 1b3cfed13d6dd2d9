#pragma once

#include <cstddef>
#include <functional>

#include "host/resources.h"
#include "host/stored_bytes.h"
#include "host/win32/image_file.h"

namespace velbor {

// Hands `bytes`, a view of the running image's resources, to `take` in order:
// read from `image`'s file through a buffer of kPieceSize, as CopyFileW reads
// its source, where the proven file holds them; otherwise straight from the view, in
// pieces of at most `largestPiece`. Both the payload's check and its write read
// through here, so that what is written comes from where what was checked came
// from.
void ReadImageBytes(const ImageFile* image, ByteView bytes, std::size_t largestPiece,
                    const std::function<void(ByteView piece)>& take);

// Hands the content of `item` to `take` in order: its bytes read as
// ReadImageBytes reads them, decoded on the way when they are compressed (an item
// stored together with others: its stream decoded from its start by a
// StreamDecoding of its own). Fails with 75, after the content that decoded, when a
// compressed frame is damaged, cut short, or its checksum or size differs, so that
// the caller keeps nothing of it.
void ReadItemContent(const ImageFile* image, const StoredBytes& item, std::size_t largestPiece,
                     const std::function<void(ByteView piece)>& take);

}  // namespace velbor
