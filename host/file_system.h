#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "host/file_hold.h"
#include "host/resources.h"
#include "host/stored_bytes.h"
#include "host/text.h"

namespace velbor {

// Told how many bytes of a file are written so far, while it is written.
using WriteProgress = std::function<void(std::uint64_t written)>;

// Lives as long as the writes of one pass.
class PassWrites {
 public:
  virtual ~PassWrites() = default;
};

// The files of the computer.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The bare name of the file at `path`, in its letter case as stored, or the
  // empty text when there is none. Folders and hidden or system files do not
  // count, wildcard characters match nothing, and a path that cannot be examined
  // answers the empty text.
  virtual Text FindFileName(const Text& path) = 0;

  // Deletes the file at `path`; fails when it cannot be deleted.
  virtual void DeleteFile(const Text& path) = 0;

  // Makes the file at `path` hold exactly the content of `bytes` (decoded as it is
  // written when they are compressed), creating it when absent. On failure,
  // compressed bytes that do not decode whole and sound included, no handle stays
  // open and a file that existed keeps its old content. `progress`, which may be
  // empty, is told on the calling thread how many bytes of content are written, at
  // least every 50 ms until the write ends, including the time the bytes take to
  // reach the disk.
  virtual void WriteWholeFile(const Text& path, const StoredBytes& bytes,
                              const WriteProgress& progress) = 0;

  // The writes until the answer ends belong to one pass, which takes its items in
  // order: the items stored together are decoded once, forward, through all of
  // them, by a thread that lives as long as the answer. Without it each such write
  // decodes the stream from its start.
  virtual std::unique_ptr<PassWrites> BeginPass() { return std::make_unique<PassWrites>(); }

  // Holds the file at `path` (see FileHold) and checks that it holds exactly the
  // content of `expected`, so that what is held is what was written. Fails when
  // the file cannot be opened so, for instance because someone else has it open
  // for writing, or when its content differs.
  virtual SharedFileHold HoldFile(const Text& path, const StoredBytes& expected) = 0;
};

}  // namespace velbor
