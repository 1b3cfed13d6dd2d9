#pragma once

#include <functional>

#include "host/resources.h"
#include "host/win32/image_file.h"

namespace velbor {

// Hands `bytes`, a view of the running image's resources, to `take` in order:
// read from `image`'s file through a buffer of 1 MiB, as CopyFileW reads its
// source, where the proven file holds them; otherwise straight from the view, in
// pieces of at most `largestPiece`. Both the payload's check and its write read
// through here, so that what is written comes from where what was checked came
// from.
void ReadImageBytes(const ImageFile* image, ByteView bytes, std::size_t largestPiece,
                    const std::function<void(ByteView piece)>& take);

}  // namespace velbor
