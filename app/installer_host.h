#pragma once

#include "host/file_system.h"
#include "host/pass_progress.h"
#include "host/processes.h"
#include "host/resources.h"
#include "host/user_interface.h"

namespace velbor {

// The host services that the installation and the window's handlers use; they
// outlive everything that holds this bundle.
struct InstallerHost {
  Resources& package;
  UserInterface& ui;
  FileSystem& files;
  Processes& processes;
  PassProgress& progress;
};

}  // namespace velbor
