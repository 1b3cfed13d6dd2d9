// store-item SOURCE FRAME: writes SOURCE's bytes compressed as one zstd frame, as
// the installer stores an item: level 19, the window the 32-bit installer decodes
// within its memory, the content size and checksum in the frame. Single-threaded,
// so the same bytes always give the same frame. Exits with 1 on any failure.
#include <zstd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "package/zstd_frame.h"

namespace {

constexpr int kLevel = 19;

struct FreeContext {
  void operator()(ZSTD_CCtx* context) const { ZSTD_freeCCtx(context); }
};

bool Set(ZSTD_CCtx* context, ZSTD_cParameter parameter, int value) {
  return !ZSTD_isError(ZSTD_CCtx_setParameter(context, parameter, value));
}

bool Store(const char* sourcePath, const char* framePath) {
  std::ifstream source(sourcePath, std::ios::binary);
  if (!source) return false;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(sourcePath, error);
  if (error) return false;
  const std::unique_ptr<ZSTD_CCtx, FreeContext> context(ZSTD_createCCtx());
  if (context == nullptr || !Set(context.get(), ZSTD_c_compressionLevel, kLevel) ||
      !Set(context.get(), ZSTD_c_windowLog, velbor::kZstdWindowLog) ||
      !Set(context.get(), ZSTD_c_checksumFlag, 1) ||
      !Set(context.get(), ZSTD_c_contentSizeFlag, 1) ||
      ZSTD_isError(ZSTD_CCtx_setPledgedSrcSize(context.get(), size))) {
    return false;
  }
  std::ofstream frame(framePath, std::ios::binary | std::ios::trunc);
  std::vector<char> in(ZSTD_CStreamInSize());
  std::vector<char> out(ZSTD_CStreamOutSize());
  for (;;) {
    source.read(in.data(), static_cast<std::streamsize>(in.size()));
    const auto taken = static_cast<std::size_t>(source.gcount());
    if (source.bad()) return false;
    const bool last = taken < in.size();
    ZSTD_inBuffer input{in.data(), taken, 0};
    for (;;) {
      ZSTD_outBuffer output{out.data(), out.size(), 0};
      const std::size_t left =
          ZSTD_compressStream2(context.get(), &output, &input, last ? ZSTD_e_end : ZSTD_e_continue);
      if (ZSTD_isError(left)) return false;
      frame.write(out.data(), static_cast<std::streamsize>(output.pos));
      if (last ? left == 0 : input.pos == input.size) break;
    }
    if (last) break;
  }
  frame.close();
  return static_cast<bool>(frame);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: store-item SOURCE FRAME\n", stderr);
    return 1;
  }
  if (!Store(argv[1], argv[2])) {
    std::fprintf(stderr, "store-item: %s could not be stored in %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
