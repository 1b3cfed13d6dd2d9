#pragma once

#include <zstd.h>

#include <cstdint>
#include <vector>

#include "gtest/gtest.h"
#include "package/content_checksum.h"
#include "package/item_stream.h"
#include "package/package_format.h"

namespace velbor::testing {

// Items stored together as the build stores them: one frame of their contents in
// order, and its table.
struct TestStream {
  std::vector<std::uint8_t> frame;
  std::vector<std::uint8_t> table;
  std::vector<ContentPlace> places;
};

// `contents` as items 101, 102, ... of one stream.
inline TestStream StoredTogether(const std::vector<std::vector<std::uint8_t>>& contents) {
  TestStream stream;
  std::vector<std::uint8_t> all;
  for (std::size_t index = 0; index < contents.size(); ++index) {
    const ContentPlace place{all.size(), contents[index].size(),
                             ContentChecksumOf(contents[index])};
    const std::vector<std::uint8_t> record =
        RecordBytes({kFirstItemResource + static_cast<std::int32_t>(index), place});
    stream.table.insert(stream.table.end(), record.begin(), record.end());
    stream.places.push_back(place);
    all.insert(all.end(), contents[index].begin(), contents[index].end());
  }
  ZSTD_CCtx* context = ZSTD_createCCtx();
  ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, 3);
  ZSTD_CCtx_setParameter(context, ZSTD_c_windowLog, kItemStreamWindowLog);
  ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, 1);
  stream.frame.resize(ZSTD_compressBound(all.size()));
  const std::size_t size =
      ZSTD_compress2(context, stream.frame.data(), stream.frame.size(), all.data(), all.size());
  ZSTD_freeCCtx(context);
  EXPECT_FALSE(ZSTD_isError(size));
  stream.frame.resize(size);
  return stream;
}

}  // namespace velbor::testing
