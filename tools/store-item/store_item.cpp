// store-item test SOURCE: prints the size of SOURCE's bytes as one zstd frame of
// level 3, by which the build judges whether an item is worth compressing.
// store-item together STREAM TABLE NUMBER FILE [NUMBER FILE]...: writes the files'
// bytes, in the order given, as one zstd frame, as the installer stores its items
// together: level 22 (of the levels measured, the smallest download), the window
// the 32-bit installer decodes within its memory, the content size and checksum in
// the frame; and TABLE, each item's record (package/item_stream.h). Single-threaded,
// so the same bytes always give the same frame. Exits with 1 on any failure.
#include <zstd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "package/content_checksum.h"
#include "package/item_stream.h"

namespace {

constexpr int kTestLevel = 3;
constexpr int kStreamLevel = 22;

struct FreeContext {
  void operator()(ZSTD_CCtx* context) const { ZSTD_freeCCtx(context); }
};
using Context = std::unique_ptr<ZSTD_CCtx, FreeContext>;

bool Set(ZSTD_CCtx* context, ZSTD_cParameter parameter, int value) {
  return !ZSTD_isError(ZSTD_CCtx_setParameter(context, parameter, value));
}

Context MakeContext(int level, int windowLog, std::uint64_t size) {
  Context context(ZSTD_createCCtx());
  if (context == nullptr || !Set(context.get(), ZSTD_c_compressionLevel, level) ||
      !Set(context.get(), ZSTD_c_windowLog, windowLog) ||
      !Set(context.get(), ZSTD_c_checksumFlag, 1) ||
      !Set(context.get(), ZSTD_c_contentSizeFlag, 1) ||
      ZSTD_isError(ZSTD_CCtx_setPledgedSrcSize(context.get(), size))) {
    return nullptr;
  }
  return context;
}

struct Source {
  std::int32_t number = 0;
  std::string path;
  std::uint64_t size = 0;
};

// Compresses the sources one after the other into one frame, handing its bytes to
// `out`, and tells each source's record to `record`.
template <typename Out, typename Record>
bool Compress(const std::vector<Source>& sources, int level, int windowLog, Out out,
              Record record) {
  std::uint64_t total = 0;
  for (const Source& source : sources) total += source.size;
  const Context context = MakeContext(level, windowLog, total);
  if (context == nullptr) return false;
  std::vector<char> in(ZSTD_CStreamInSize());
  std::vector<char> output(ZSTD_CStreamOutSize());
  std::uint64_t offset = 0;
  for (std::size_t index = 0; index < sources.size(); ++index) {
    std::ifstream file(sources[index].path, std::ios::binary);
    if (!file) return false;
    velbor::ContentChecksum checksum;
    std::uint64_t read = 0;
    for (;;) {
      file.read(in.data(), static_cast<std::streamsize>(in.size()));
      const auto taken = static_cast<std::size_t>(file.gcount());
      if (file.bad()) return false;
      read += taken;
      checksum.Add(velbor::ByteView(reinterpret_cast<const std::uint8_t*>(in.data()), taken));
      const bool last = taken < in.size() && index + 1 == sources.size();
      ZSTD_inBuffer input{in.data(), taken, 0};
      for (;;) {
        ZSTD_outBuffer piece{output.data(), output.size(), 0};
        const std::size_t left = ZSTD_compressStream2(context.get(), &piece, &input,
                                                      last ? ZSTD_e_end : ZSTD_e_continue);
        if (ZSTD_isError(left)) return false;
        out(output.data(), piece.pos);
        if (last ? left == 0 : input.pos == input.size) break;
      }
      if (taken < in.size()) break;
    }
    // A file that changed since its size was read would not match its record.
    if (read != sources[index].size) return false;
    record(velbor::StreamRecord{sources[index].number, {offset, read, checksum.Value()}});
    offset += read;
  }
  return true;
}

bool SizeOf(Source& source) {
  std::error_code error;
  source.size = std::filesystem::file_size(source.path, error);
  return !error;
}

bool Test(const char* path) {
  std::vector<Source> sources{{0, path, 0}};
  if (!SizeOf(sources[0])) return false;
  std::uint64_t stored = 0;
  if (!Compress(
          sources, kTestLevel, velbor::kItemStreamWindowLog,
          [&](const char*, std::size_t size) { stored += size; },
          [](const velbor::StreamRecord&) {})) {
    return false;
  }
  std::printf("%llu\n", static_cast<unsigned long long>(stored));
  return true;
}

bool Together(const char* streamPath, const char* tablePath, int count, char** pairs) {
  std::vector<Source> sources;
  for (int at = 0; at + 1 < count; at += 2) {
    Source source{static_cast<std::int32_t>(std::strtol(pairs[at], nullptr, 10)), pairs[at + 1], 0};
    if (!SizeOf(source)) return false;
    sources.push_back(source);
  }
  std::ofstream stream(streamPath, std::ios::binary | std::ios::trunc);
  std::ofstream table(tablePath, std::ios::binary | std::ios::trunc);
  const bool stored = Compress(
      sources, kStreamLevel, velbor::kItemStreamWindowLog,
      [&](const char* bytes, std::size_t size) {
        stream.write(bytes, static_cast<std::streamsize>(size));
      },
      [&](const velbor::StreamRecord& record) {
        const std::vector<std::uint8_t> bytes = velbor::RecordBytes(record);
        table.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size()));
      });
  stream.close();
  table.close();
  return stored && stream && table;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  bool done = false;
  if (mode == "test" && argc == 3) {
    done = Test(argv[2]);
  } else if (mode == "together" && argc >= 6 && argc % 2 == 0) {
    done = Together(argv[2], argv[3], argc - 4, argv + 4);
  } else {
    std::fputs(
        "usage: store-item test SOURCE\n"
        "       store-item together STREAM TABLE NUMBER FILE [NUMBER FILE]...\n",
        stderr);
    return 1;
  }
  if (!done) {
    std::fprintf(stderr, "store-item: %s failed\n", mode.c_str());
    return 1;
  }
  return 0;
}
