#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "host/resources.h"
#include "host/win32/unique_handle.h"
#include "host/win32/windows_api.h"

namespace velbor {

// The file that a loaded image was mapped from, opened so that nobody can write,
// rename or delete it while it is held, and proven to be that very file: the
// image's resources can then be read with ReadFile, which on some machines is much
// faster than touching every page of their mapped view.
class ImageFile {
 public:
  // Nothing where the file cannot be opened or proven (renamed and replaced after
  // the image was loaded, or a Windows without the proof); callers then use the view.
  static std::optional<ImageFile> Prove(HMODULE module);

  // Where `bytes`, a view of the image's resources, lie in the file; nothing when
  // they are not wholly inside the resources' bytes that the file holds.
  std::optional<std::uint64_t> FileOffsetOf(ByteView bytes) const;

  // Reads exactly `into.size()` bytes from `offset`.
  void ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) const;

 private:
  // The resources' bytes as mapped from the file: in memory from `address`, in the
  // file from `offset`. Never relocated nor written, so both hold the same bytes.
  struct FileBackedRange {
    std::uintptr_t address;
    std::uint64_t offset;
    std::uint64_t size;
  };

  static std::optional<FileBackedRange> ResourcesInFile(HMODULE module);

  ImageFile(UniqueFileHandle file, FileBackedRange resources)
      : file_(std::move(file)), resources_(resources) {}

  UniqueFileHandle file_;
  FileBackedRange resources_;
};

}  // namespace velbor
