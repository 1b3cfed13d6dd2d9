#pragma once

#include "host/text.h"
#include "host/user_interface.h"
#include "registry/registry_library.h"

namespace velbor {

// The folders that target templates build on, read from the registry. Each lookup
// answers the value's text exactly as stored (a trailing "\" is neither added nor
// removed, and the folder need not exist), or the empty text when the value cannot
// be read. A missing key or value is silent; a failure raised while reading is
// reported with ShowErrorReport first.
class InstallationFolders {
 public:
  InstallationFolders(RegistryLibrary& registry, UserInterface& ui)
      : registry_(registry), ui_(ui) {}

  // The Windows common-files folder.
  Text RetrieveCommonPath();
  // The Windows program-files folder.
  Text RetrieveProgramFilesPath();
  // The folder in which the maker's software is installed.
  Text RetrieveProgramFilesVelborPath();

 private:
  Text Lookup(const Text& keyPath, const Text& valueName, TextView reportPrefix);

  RegistryLibrary& registry_;
  UserInterface& ui_;
};

}  // namespace velbor
