#pragma once

#include "host/resources.h"
#include "host/text.h"

namespace velbor {

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

  // Makes the file at `path` hold exactly `bytes`, creating it when absent. On
  // failure no handle stays open and a file that existed keeps its old content.
  virtual void WriteWholeFile(const Text& path, ByteView bytes) = 0;
};

}  // namespace velbor
