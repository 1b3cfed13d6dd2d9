#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "host/file_system.h"
#include "host/win32/image_file.h"

namespace velbor {

class StreamDecoding;
struct Win32PassState;

// The files of the computer through the wide Win32 file API.
class Win32FileSystem final : public FileSystem {
 public:
  Win32FileSystem() = default;
  // Bytes written from a view of `image`'s resources are read as ReadImageBytes
  // reads them; `image`, which may be null, outlives this.
  explicit Win32FileSystem(const ImageFile* image) : image_(image) {}

  Text FindFileName(const Text& path) override;
  void DeleteFile(const Text& path) override;

  // Writes a temporary file beside the target, forces it to the disk and renames it
  // over the target through its own handle, so that a failure at any point, a kill
  // or a power cut included, leaves the old file as it was and no temporary file.
  // All of it runs on another thread (in a pass, the one that all its writes share),
  // so that the calling thread hears of the progress however long a call into the
  // system takes.
  // Compressed bytes are decoded on that thread straight into the temporary file,
  // and the frame's checksum checked before the rename.
  void WriteWholeFile(const Text& path, const StoredBytes& bytes,
                      const WriteProgress& progress) override;

  // Keeps the writing thread and the decoding of the items stored together from one
  // write to the next.
  std::unique_ptr<PassWrites> BeginPass() override;

  // Opened for reading, shared for reading only (win32_file_hold.cpp).
  SharedFileHold HoldFile(const Text& path, const StoredBytes& expected) override;

 private:
  // The write itself, on the writing thread; counts the bytes in `written`.
  void WriteHere(const Text& path, const StoredBytes& bytes, std::atomic<std::uint64_t>& written);
  // The pass's decoding, started again from the stream's start where it has
  // passed `item`'s place.
  StreamDecoding& DecodingFor(const StoredBytes& item);

  const ImageFile* image_ = nullptr;
  // What the writes of the pass under way share; null outside a pass.
  Win32PassState* pass_ = nullptr;
};

}  // namespace velbor
