#pragma once

#include "host/text.h"

namespace velbor {

// Opens the folders of a path as they stand, never through a link.
class FolderOpener {
 public:
  virtual ~FolderOpener() = default;

  // Opens the folder `path` (a volume's root, or a folder below it) itself, not
  // what it may link to, and keeps it open while the path is walked, so that
  // nobody can rename or replace it meanwhile; answers whether it is a link of any
  // kind (a junction, a symbolic link, a mount point of another volume). Fails
  // when it cannot be opened or is no folder.
  virtual bool OpensALink(const Text& path) = 0;
};

// Opens every folder of the full path of a file, `fullPath`, from its volume's
// root down to the file's own folder, and fails with 70 at the first that is a
// link: an elevated program that writes there lands where the path says, not
// where someone who may make folders on the way points it. A path that is not
// plainly one file on a drive ("C:\...") or a share ("\\server\share\..."),
// every part named ("." and "..", empty parts and streams refused), fails with
// 52 before anything is opened.
void OpenFoldersOf(TextView fullPath, FolderOpener& opener);

// The path that the system's final name of a file ("\\?\C:\..." or
// "\\?\UNC\server\share\...") stands for, written as `OpenFoldersOf` takes it.
Text WithoutLongPathPrefix(TextView finalPath);

}  // namespace velbor
