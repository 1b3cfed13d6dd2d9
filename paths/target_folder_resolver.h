#pragma once

#include <functional>

#include "host/event_log.h"
#include "host/file_system.h"
#include "host/text.h"
#include "host/user_interface.h"
#include "paths/installation_folders.h"

namespace velbor {

// Turns a target template into the folder on this computer that an item is
// written to. Three forms are known:
//   "<APPPATH>Tavrelio" and "<APPPATH>Corsenta", in any letter case: the
//     application's folder below the maker's installation folder;
//   "<COMMONPATH>", in capitals: the maker's folder among the common files.
// The folder first proposed is proven by its marker file; while the marker is
// missing the user is asked for the folder.
class TargetFolderResolver {
 public:
  // With `log`, how each folder was found (a registry value, a default, a marker
  // file found or not) is written there.
  TargetFolderResolver(InstallationFolders& folders, UserInterface& ui, FileSystem& files,
                       const EventLog* log = nullptr)
      : folders_(folders), ui_(ui), files_(files), log_(log) {}

  // The proven folder, ending with "\", in place of the template's form and the
  // one character after it, wherever that text occurs, with the rest of the
  // template unchanged. The empty text, and nothing else, tells of a failure: an
  // unrecognised template (after a box saying so), a prompt cancelled, or a
  // failure caught (after a box with its number and description). A failure of
  // that last box itself passes to the caller. Nothing is kept between calls.
  Text GeneraPathDll(const Text& targetTemplate);

  // GeneraPathDll as the installation pass takes it; valid while this object is.
  std::function<Text(const Text&)> Resolver() {
    return [this](const Text& targetTemplate) { return GeneraPathDll(targetTemplate); };
  }

 private:
  InstallationFolders& folders_;
  UserInterface& ui_;
  FileSystem& files_;
  const EventLog* log_;
};

}  // namespace velbor
