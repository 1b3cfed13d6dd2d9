#pragma once

#include "app/install_log.h"
#include "host/installer_names.h"

namespace velbor {

// One installer at a time, whatever its package and session: takes the sign that
// an installer runs through `names`. False when another installer holds it. Where
// the sign cannot be had safely (the namespace is not the installers' own), the
// log says so and the installer goes on rather than be held off by whoever made
// it.
bool ClaimSingleInstaller(InstallerNames& names, const InstallLog& log);

}  // namespace velbor
