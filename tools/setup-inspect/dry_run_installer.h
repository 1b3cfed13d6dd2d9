#pragma once

#include <string>

#include "app/installer_host.h"
#include "package/pe_resources.h"
#include "paths/installation_folders.h"
#include "paths/target_folder_resolver.h"
#include "registry/registry_library.h"
#include "tools/setup-inspect/dry_run_host.h"
#include "tools/setup-inspect/range_digests.h"

namespace velbor {

// The installer's own pieces, working on the dry-run host: what the inspection
// runs to see what a customer would meet.
class DryRunInstaller {
 public:
  // Digests are made by `sha256`.
  DryRunInstaller(PeResources& program, const Sha256& sha256);

  DryRunHost& Host() { return host_; }
  PeResources& Program() { return program_; }
  TargetFolderResolver& Resolver() { return resolver_; }
  RangeDigests& Digests() { return digests_; }

  // The box that a press of the start button shows.
  std::string PressBox();

 private:
  PeResources& program_;
  RangeDigests digests_;
  DryRunHost host_;
  RegistryLibrary registry_;
  InstallationFolders folders_;
  TargetFolderResolver resolver_;
  InstallerHost installer_;
};

}  // namespace velbor
