#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#define ZSTD_STATIC_LINKING_ONLY
#include <zstd.h>

#include "gtest/gtest.h"
#include "package/content_checksum.h"
#include "package/content_pipe.h"
#include "package/item_stream.h"
#include "package/stream_cursor.h"
#include "package/zstd_frame.h"
#include "tests/contract/zstd_test_frame.h"
#include "tests/support/bytes.h"
#include "tests/support/failures.h"

namespace velbor::testing {
namespace {

// 10 MiB that repeat at distances up to the window's, so that the decoder's round
// buffer goes round twice and its blocks reach back into the round before.
const Bytes& Content() {
  static const Bytes content = [] {
    Bytes bytes(10u << 20);
    std::uint32_t state = 1;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
      state = state * 1664525u + 1013904223u;
      const std::size_t back = (state >> 8) % (4u << 20);
      bytes[at] = (state >> 28) < 12 && at > back ? bytes[at - back]
                                                  : static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
  }();
  return content;
}

// A frame as the build makes it, or with one of its settings changed.
Bytes Compressed(const Bytes& content, int windowLog = kZstdWindowLog, int checksum = 1,
                 int contentSize = 1) {
  ZSTD_CCtx* context = ZSTD_createCCtx();
  ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, 1);
  ZSTD_CCtx_setParameter(context, ZSTD_c_windowLog, windowLog);
  ZSTD_CCtx_setParameter(context, ZSTD_c_checksumFlag, checksum);
  ZSTD_CCtx_setParameter(context, ZSTD_c_contentSizeFlag, contentSize);
  Bytes frame(ZSTD_compressBound(content.size()));
  const std::size_t size =
      ZSTD_compress2(context, frame.data(), frame.size(), content.data(), content.size());
  ZSTD_freeCCtx(context);
  EXPECT_FALSE(ZSTD_isError(size));
  frame.resize(size);
  return frame;
}

// Decodes `frame` handed in pieces of `pieceSize`, to a sink.
Bytes Decoded(ByteView frame, std::size_t pieceSize,
              ContentCheck check = ContentCheck::kFrameChecksum) {
  Bytes content;
  ZstdFrameDecoder decoder(kZstdWindowLog, check);
  for (std::size_t at = 0; at < frame.size(); at += pieceSize) {
    decoder.Decode(frame.subspan(at, std::min(pieceSize, frame.size() - at)), [&](ByteView piece) {
      content.insert(content.end(), piece.begin(), piece.end());
    });
  }
  decoder.Finish(ZstdContentSize(frame).value_or(0));
  return content;
}

TEST(ZstdDecodingTest, DecodesWhateverPiecesTheFrameComesIn) {
  const Bytes frame = Compressed(Content());
  for (std::size_t pieceSize : {std::size_t{4099}, std::size_t{1} << 20, frame.size()}) {
    SCOPED_TRACE(pieceSize);
    EXPECT_TRUE(Decoded(frame, pieceSize) == Content());
  }
  // A byte at a time, header and checksum included.
  EXPECT_EQ(Decoded(kTestFrame, 1).size(), kTestFrameContentSize);
}

TEST(ZstdDecodingTest, RefusesFramesThatTheBuildNeverMakes) {
  const Bytes small(Content().begin(), Content().begin() + (5u << 20));
  Bytes skippable = {0x50, 0x2a, 0x4d, 0x18, 4, 0, 0, 0, 1, 2, 3, 4};
  const Bytes frame = Compressed(small);
  skippable.insert(skippable.end(), frame.begin(), frame.end());
  const Bytes cases[] = {Compressed(small, kZstdWindowLog + 1),
                         Compressed(small, kZstdWindowLog, 0),
                         Compressed(small, kZstdWindowLog, 1, 0), skippable};
  for (const Bytes& refused : cases) {
    EXPECT_TRUE(FailsWith(failure::kInvalidFileFormat, [&] { Decoded(refused, 1u << 20); }));
  }
  // A frame whose checksum does not match its content: refused unless the caller
  // checks the content itself; a frame without one is refused either way.
  Bytes wrongChecksum = frame;
  wrongChecksum.back() ^= 1;
  EXPECT_TRUE(FailsWith(failure::kInvalidFileFormat, [&] { Decoded(wrongChecksum, 1u << 20); }));
  EXPECT_TRUE(Decoded(wrongChecksum, 1u << 20, ContentCheck::kCallerChecksums) == small);
  EXPECT_TRUE(FailsWith(failure::kInvalidFileFormat, [&] {
    Decoded(Compressed(small, kZstdWindowLog, 0), 1u << 20, ContentCheck::kCallerChecksums);
  }));
}

// The writer takes the content from the decoder's round buffer on a thread of its
// own, more slowly than it comes: the decoder waits for it rather than write over
// content not yet taken.
TEST(ZstdDecodingTest, PipeHandsTheContentToASlowerWriterInOrder) {
  const Bytes frame = Compressed(Content());
  ContentPipe pipe(64 * 1024);
  ZstdFrameDecoder decoder;
  std::thread decoding([&] {
    decoder.Decode(frame, pipe);
    pipe.Close();
  });
  Bytes written;
  int pieces = 0;
  while (const std::optional<ByteView> piece = pipe.Take()) {
    if (++pieces % 16 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    written.insert(written.end(), piece->begin(), piece->end());
  }
  decoding.join();
  decoder.Finish(Content().size());
  EXPECT_TRUE(written == Content());
}

TEST(ZstdDecodingTest, StoppedWriterEndsTheDecoding) {
  const Bytes frame = Compressed(Content());
  ContentPipe pipe(64 * 1024);
  ZstdFrameDecoder decoder;
  std::int32_t number = 0;
  std::thread decoding([&] {
    number = FailureNumberOf([&] { decoder.Decode(frame, pipe); });
    pipe.Close();
  });
  ASSERT_TRUE(pipe.Take());
  pipe.Stop();
  decoding.join();
  EXPECT_EQ(number, failure::kPathFileAccess);
}

// Items stored together, taken forward block by block: an item passed over, an
// empty one, one across many blocks and the round buffer's wrap; a place past the
// content's end fails; what no item takes is still decoded to the frame's end.
TEST(ZstdDecodingTest, CursorHandsOnEachItemOfTheStreamAndPassesOverTheRest) {
  const ByteView all = Content();
  const auto place = [&](std::uint64_t offset, std::uint64_t size) {
    return ContentPlace{offset, size, ContentChecksumOf(all.subspan(offset, size))};
  };
  const Bytes frame = Compressed(Content(), kItemStreamWindowLog);
  FrameContent content(frame, kItemStreamWindowLog);
  StreamCursor cursor;
  const ContentSource next = [&] { return content.Next(); };
  for (const ContentPlace& item :
       {place(0, 5), place(5, 0), place(300000, 9u << 20), place((10u << 20) - 1, 1)}) {
    Bytes taken;
    ASSERT_TRUE(cursor.Reaches(item));
    cursor.Deliver(item, next,
                   [&](ByteView piece) { taken.insert(taken.end(), piece.begin(), piece.end()); });
    EXPECT_TRUE(std::equal(taken.begin(), taken.end(),
                           all.begin() + static_cast<std::ptrdiff_t>(item.offset),
                           all.begin() + static_cast<std::ptrdiff_t>(item.offset + item.size)));
  }
  EXPECT_FALSE(cursor.Reaches(place(7, 1)));
  EXPECT_TRUE(FailsWith(failure::kInvalidFileFormat, [&] {
    cursor.Deliver({10u << 20, 1, 0}, next, [](ByteView) {});
  }));
  content.Finish();
}

}  // namespace
}  // namespace velbor::testing
