#pragma once

#include <cstdint>

#include "package/pe_resources.h"
#include "tools/setup-inspect/package_findings.h"

namespace velbor {

// Resources that no item's number reaches, among the `lastIndex` + 1 items, and
// numbers stored in more than one language, of which Windows picks one by the
// language of the customer's system.
void CheckResources(PackageFindings& inspection, PeResources& program, std::int32_t lastIndex);

}  // namespace velbor
