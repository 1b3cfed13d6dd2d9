#pragma once

#include "app/install_log.h"
#include "app/unattended_run.h"
#include "host/file_holders.h"
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
  // Where the pass tells what it did; none writes nothing.
  const InstallLog* log = nullptr;
  // Set in a quiet or passive run: a pass then tries every item, waits for the
  // registration tools, and ends the run where nothing is left to retry.
  UnattendedRun* unattended = nullptr;
  // Who holds a file that could not be written; none names nobody.
  FileHolders* holders = nullptr;
};

}  // namespace velbor
